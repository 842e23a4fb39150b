#include "Menus.h"

#include "CalculationNoteCommands.h"
#include "DocumentFieldsDialog.h"
#include "GuideWindow.h"
#include "InputSetDocument.h"
#include "SpanTableWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

void BuildFileMenu(QMenu& file, QAction& exit, InputSetDocument& document, CalculationNoteCommands& note,
                   QAction& ownClimate, DocumentFieldsCommand& documentFields)
{
    file.insertActions(&exit, document.FileActions());
    file.insertSeparator(&exit);
    file.insertMenu(&exit, document.RecentFilesMenu());
    file.insertSeparator(&exit);
    file.insertAction(&exit, &ownClimate);
    file.insertAction(&exit, documentFields.Action());
    file.insertSeparator(&exit);
    file.insertActions(&exit, note.Actions());
    file.insertSeparator(&exit);
}

void BuildHelpMenu(QMenu& help, QWidget& mainWindow)
{
    help.insertAction(help.actions().value(0), CreateGuideAction(mainWindow));
}

void BuildMenuBar(QMenuBar& bar, QAction& technicalSheet, SpanTableWindow& spanTable)
{
    auto* command = new QAction(spanTable.windowTitle(), &bar);
    command->setObjectName(QStringLiteral("SpanTableCommand"));
    command->setMenuRole(QAction::NoRole);
    QObject::connect(command, &QAction::triggered, &spanTable, &SpanTableWindow::Open);
    const QList<QAction*> actions = bar.actions();
    bar.insertAction(actions.value(actions.indexOf(&technicalSheet) + 1), command);
}

} // namespace

void BuildMenus(const TFormProlet::MenuParts& menus, InputSetDocument& document, CalculationNoteCommands& note,
                DocumentFieldsCommand& documentFields, SpanTableWindow& spanTable, QAction& ownClimate)
{
    BuildFileMenu(menus.File, menus.Exit, document, note, ownClimate, documentFields);
    BuildHelpMenu(menus.Help, *menus.Bar.window());
    BuildMenuBar(menus.Bar, menus.TechnicalSheet, spanTable);
}
