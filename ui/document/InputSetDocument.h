#pragma once

#include "DocumentDialogs.h"
#include "HandlerGuard.h"

#include <korvelin/InputSet.h>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class InputModel;
class MessageSink;
class QAction;
class QMenu;
class QSettings;
class QWidget;

// The inputs of the model as a file: the commands "Новый", "Открыть…", "Сохранить",
// "Сохранить как…" and the menu "Последние файлы", the file's name in the window's caption with
// the mark of unsaved changes, and the question about them before the inputs or the window go.
class InputSetDocument final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxRecentFiles = 8;

    // `window` is the main window: its caption names the file, and closing it asks about unsaved
    // changes. The recent files are kept in `settings`.
    InputSetDocument(InputModel& model, QWidget& window, MessageSink& sink, DocumentDialogs& dialogs,
                     QSettings& settings);
    ~InputSetDocument() override;

    // The commands, in the order the menu "Файл" shows them, and the menu of recent files.
    QList<QAction*> FileActions() const { return Actions; }
    QMenu* RecentFilesMenu() const { return RecentMenu; }

    void New();
    void Open();
    bool Save();
    bool SaveAs();

    // Opens a file: checks it whole, then puts its inputs into the model, which the windows show.
    // A file that cannot be used is reported and leaves the inputs as they were. Returns whether
    // the file was opened.
    bool OpenFile(const QString& path);

    // The file open, or an empty string.
    const QString& FilePath() const { return Path; }
    // Whether the inputs were changed since the file was opened or saved.
    bool IsModified() const { return Modified; }
    QStringList RecentFiles() const;

    // The set the windows show, as it would be saved.
    korvelin::InputSet ShownSet() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void Apply(const korvelin::InputSet& set);
    bool Write(const QString& path);
    // Asks about unsaved changes; false when the user cancels or the save fails.
    bool MaySetInputsAside();
    void SetPath(const QString& path);
    void SetModified(bool modified);
    void RememberRecent(const QString& path);
    void ForgetRecent(const QString& path);
    void FillRecentMenu();
    void OpenRecent(const QString& path);

    InputModel& Model;
    QWidget& Window;
    MessageSink& Sink;
    DocumentDialogs& Dialogs;
    QSettings& Settings;
    HandlerGuard Guard;
    const QString Caption;  // the window's own caption
    QString Path;
    bool Modified = false;
    bool Applying = false;
    QList<QAction*> Actions;
    QMenu* RecentMenu = nullptr;
};
