#include "Menus.h"

#include "CalculationNoteCommands.h"
#include "CompensationWindow.h"
#include "DocumentFieldsDialog.h"
#include "GuideWindow.h"
#include "InputSetDocument.h"
#include "SpanTableWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

void BuildFileMenu(QMenu& file, QAction& exit, InputSetDocument& document, CalculationNoteCommands& note,
                   QAction& ownClimate, DocumentFieldsCommand& documentFields, CompensationWindow& compensation)
{
    file.insertActions(&exit, document.FileActions());
    file.insertSeparator(&exit);
    file.insertMenu(&exit, document.RecentFilesMenu());
    file.insertSeparator(&exit);
    file.insertAction(&exit, &ownClimate);
    file.insertAction(&exit, documentFields.Action());
    file.insertSeparator(&exit);
    file.insertActions(&exit, note.Actions());
    file.insertAction(&exit, compensation.RouteDxfAction());
    file.insertSeparator(&exit);
}

void BuildHelpMenu(QMenu& help, QWidget& mainWindow)
{
    help.insertAction(help.actions().value(0), CreateGuideAction(mainWindow));
}

// The windows' commands on the bar itself, in this order after "Технический лист".
void BuildMenuBar(QMenuBar& bar, QAction& technicalSheet, SpanTableWindow& spanTable, CompensationWindow& compensation)
{
    QAction* before = bar.actions().value(bar.actions().indexOf(&technicalSheet) + 1);
    const auto add = [&](const QString& name, auto& window, auto open) {
        auto* command = new QAction(window.windowTitle(), &bar);
        command->setObjectName(name);
        command->setMenuRole(QAction::NoRole);
        QObject::connect(command, &QAction::triggered, &window, open);
        bar.insertAction(before, command);
    };
    add(QStringLiteral("SpanTableCommand"), spanTable, &SpanTableWindow::Open);
    add(QStringLiteral("CompensationCommand"), compensation, &CompensationWindow::Open);
}

} // namespace

void BuildMenus(const TFormProlet::MenuParts& menus, InputSetDocument& document, CalculationNoteCommands& note,
                DocumentFieldsCommand& documentFields, SpanTableWindow& spanTable, CompensationWindow& compensation,
                QAction& ownClimate)
{
    BuildFileMenu(menus.File, menus.Exit, document, note, ownClimate, documentFields, compensation);
    BuildHelpMenu(menus.Help, *menus.Bar.window());
    BuildMenuBar(menus.Bar, menus.TechnicalSheet, spanTable, compensation);
}
