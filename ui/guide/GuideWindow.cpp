#include "GuideWindow.h"

#include "ScreenFit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

QString UserGuideText()
{
    QFile guide(QStringLiteral(":/korvelin/guide.ru.md"));
    if (!guide.open(QIODevice::ReadOnly))
        return QStringLiteral("# Руководство пользователя\n\nТекст руководства не найден.");
    return QString::fromUtf8(guide.readAll());
}

GuideWindow::GuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Руководство пользователя"));
    resize(760, 600);
    Browser->setObjectName(QStringLiteral("GuideText"));
    Browser->setOpenExternalLinks(true);
    Browser->setMarkdown(UserGuideText());
    Browser->document()->setDocumentMargin(12);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    KeepOnScreen(*this);
}

QString FeedbackPagePath(const QString& programFolder)
{
    const QDir folder(programFolder);
    for (const QString& candidate : {folder.filePath(QStringLiteral("feedback.ru.html")),
                                     QDir::cleanPath(folder.filePath(QStringLiteral("../share/doc/korvelin/feedback.ru.html")))}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QAction* CreateGuideAction(QWidget& mainWindow)
{
    auto* entry = new QAction(QStringLiteral("Руководство пользователя"), &mainWindow);
    entry->setObjectName(QStringLiteral("GuideEntry"));
    entry->setShortcut(QKeySequence(Qt::Key_F1));
    entry->setShortcutContext(Qt::ApplicationShortcut);
    entry->setMenuRole(QAction::NoRole);
    QObject::connect(entry, &QAction::triggered, &mainWindow, [&mainWindow] {
        auto* guide = mainWindow.findChild<GuideWindow*>();
        if (guide == nullptr) {
            guide = new GuideWindow(&mainWindow);
            // Beside the main window, a little lower and to the right.
            guide->move(mainWindow.pos() + QPoint(40, 40));
        }
        guide->show();
        guide->raise();
        guide->activateWindow();
    });
    return entry;
}
