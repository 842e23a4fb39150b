#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QTextBrowser;

// The user guide in a window of its own: the Markdown text built into the program (the same
// file is installed beside it as documentation), shown for reading; its web links open in the
// user's browser. Closing it only hides it.
class GuideWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit GuideWindow(QWidget* parent = nullptr);

    QTextBrowser* const Browser;
};

// The guide's Markdown text as built into the program.
QString UserGuideText();

// The guide's page on remarks and suggestions (HTML made from the guide at build time): beside
// the program, as in the build and the Windows edition, or else installed with the documentation
// in share/doc/korvelin; empty when there is neither.
QString FeedbackPagePath(const QString& programFolder);
// The places looked in, in that order.
QStringList FeedbackPageCandidates(const QString& programFolder);
// What «Замечания и Предложения» says when the page is in neither place, and when no browser
// opened it: where the page was looked for or where it is, and where the same text stands in the
// guide built into the program.
QString FeedbackPageMissingMessage(const QString& programFolder);
QString FeedbackPageNotOpenedMessage(const QString& page);

// The entry "Руководство пользователя" (F1, from any window of the program), a child of the main
// window: it shows the guide window beside it, created at the first use.
QAction* CreateGuideAction(QWidget& mainWindow);
