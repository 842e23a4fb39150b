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

namespace {

const QString FeedbackInGuide = QStringLiteral(
    "Тот же текст есть в руководстве пользователя, раздел «Замечания и предложения» "
    "(«Справка» → «Руководство пользователя», F1).");

} // namespace

QStringList FeedbackPageCandidates(const QString& programFolder)
{
    const QDir folder(programFolder);
    return {QDir::toNativeSeparators(folder.filePath(QStringLiteral("feedback.ru.html"))),
            QDir::toNativeSeparators(
                QDir::cleanPath(folder.filePath(QStringLiteral("../share/doc/korvelin/feedback.ru.html"))))};
}

QString FeedbackPagePath(const QString& programFolder)
{
    for (const QString& candidate : FeedbackPageCandidates(programFolder)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QString FeedbackPageMissingMessage(const QString& programFolder)
{
    const QStringList places = FeedbackPageCandidates(programFolder);
    return QStringLiteral("Страница «Замечания и предложения» не найдена: ее нет ни в «%1», ни в «%2». %3")
        .arg(places.value(0), places.value(1), FeedbackInGuide);
}

QString FeedbackPageNotOpenedMessage(const QString& page)
{
    return QStringLiteral("Не удалось открыть страницу «Замечания и предложения» (файл «%1»): браузер не "
                          "запустился — в системе не задана программа для страниц HTML или она не нашлась. "
                          "Откройте этот файл в браузере сами. %2")
        .arg(QDir::toNativeSeparators(page), FeedbackInGuide);
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
