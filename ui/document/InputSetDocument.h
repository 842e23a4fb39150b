#pragma once

#include "HandlerGuard.h"

#include <korvelin/InputSet.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class MessageSink;
class QAction;
class QMenu;
class QSettings;
class TFormProlet;

// The questions and file choices of the "Файл" entries; tests answer them without a modal box.
class DocumentDialogs
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~DocumentDialogs();
    // "Сохранить изменения в «…»?" with Да / Нет / Отмена.
    virtual Answer AskToSave(const QString& question) = 0;
    // The file to open or to save to, or an empty string when the user cancels.
    virtual QString FileToOpen(const QString& folder) = 0;
    virtual QString FileToSave(const QString& suggested) = 0;
};

// The system's message box and file dialogs, over the main window.
class SystemDocumentDialogs final : public DocumentDialogs
{
public:
    explicit SystemDocumentDialogs(QWidget* parent);

    Answer AskToSave(const QString& question) override;
    QString FileToOpen(const QString& folder) override;
    QString FileToSave(const QString& suggested) override;

private:
    QWidget* Parent;
};

// The inputs of the main window as a file: "Новый", "Открыть…", "Сохранить", "Сохранить как…"
// and "Последние файлы" before the entries of the "Файл" menu, the file's name in the caption,
// and the question about unsaved changes before the inputs or the window go.
class InputSetDocument final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxRecentFiles = 8;

    // The recent files are kept in `settings`.
    InputSetDocument(TFormProlet& form, MessageSink& sink, DocumentDialogs& dialogs, QSettings& settings);
    ~InputSetDocument() override;

    // The menu commands.
    void New();
    void Open();
    bool Save();
    bool SaveAs();

    // Opens a file: checks it whole, then puts its inputs into the window. A file that cannot be
    // used is reported and leaves the window as it was. Returns whether the file was opened.
    bool OpenFile(const QString& path);

    // The file open, or an empty string.
    const QString& FilePath() const { return Path; }
    // Whether the inputs were changed since the file was opened or saved.
    bool IsModified() const { return Modified; }
    QStringList RecentFiles() const;

    // The set the window shows, with the optional parts of the file opened last and those that
    // the windows registered with AddContributor write.
    korvelin::InputSet ShownSet() const;
    // Other windows put their own optional parts (chosen span, route length, table of pipes)
    // into the set about to be saved.
    void AddContributor(std::function<void(korvelin::InputSet&)> contributor);
    // Another window changed its own part of the set: the file counts as changed, unless the
    // change comes from a set being put into the windows.
    void PartChanged();

signals:
    // A set was put into the window (by "Новый" or by opening a file): other windows take their
    // optional parts from it.
    void SetApplied(const korvelin::InputSet& set);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void Apply(const korvelin::InputSet& set);
    bool Write(const QString& path);
    // Asks about unsaved changes; false when the user cancels or the save fails.
    bool MaySetInputsAside();
    void SetPath(const QString& path);
    void RememberRecent(const QString& path);
    void ForgetRecent(const QString& path);
    void FillRecentMenu();
    void OpenRecent(const QString& path);
    void ShowCaption();

    TFormProlet& Form;
    MessageSink& Sink;
    DocumentDialogs& Dialogs;
    QSettings& Settings;
    HandlerGuard Guard;
    const QString Caption;  // the window's own caption
    QString Path;
    bool Modified = false;
    bool Applying = false;
    korvelin::InputSet Opened;  // the optional parts of the file open are kept from it
    std::vector<std::function<void(korvelin::InputSet&)>> Contributors;
    QMenu* RecentMenu = nullptr;
};
