#include "OwnClimateCommand.h"

#include "OwnClimateDialog.h"

#include <QAction>

OwnClimateCommand::OwnClimateCommand(InputModel& model, MessageSink& sink, QWidget& window)
    : Model(model)
    , Sink(sink)
    , Window(window)
    , Command(new QAction(QStringLiteral("Свои нормативные значения…"), &window))
{
    Command->setObjectName(QStringLiteral("ActionOwnClimate"));
    Command->setMenuRole(QAction::NoRole);
    connect(Command, &QAction::triggered, this, &OwnClimateCommand::Open);
}

OwnClimateCommand::~OwnClimateCommand() = default;

void OwnClimateCommand::Open()
{
    OwnClimateDialog dialog(Model, Sink, &Window);
    dialog.exec();
}
