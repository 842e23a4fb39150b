#include "InputSetDocument.h"

#include "DocumentFieldCheck.h"
#include "DocumentFieldsDialog.h"
#include "InputModel.h"
#include "MessageSink.h"

#include <korvelin/InputSetFile.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QWidget>

namespace {

const QString RecentFilesKey = QStringLiteral("RecentFiles");

// The core of a set: what the main window shows.
bool SameInputs(const korvelin::InputSet& a, const korvelin::InputSet& b)
{
    korvelin::InputSet core = b;
    core.FormatName = a.FormatName;
    core.Version = a.Version;
    core.ChosenSpan = a.ChosenSpan;
    core.RouteLength = a.RouteLength;
    core.PipeTable = a.PipeTable;
    return a == core;
}

// The name as the input-set library takes it: UTF-8 on Windows, where the library hands it to
// the system's wide calls; the file system's own bytes elsewhere.
std::string FileSystemName(const QString& path)
{
#ifdef Q_OS_WIN
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

} // namespace

InputSetDocument::InputSetDocument(InputModel& model, QWidget& window, MessageSink& sink,
                                   DocumentDialogs& dialogs, QSettings& settings)
    : Model(model)
    , Window(window)
    , Sink(sink)
    , Dialogs(dialogs)
    , Settings(settings)
    , Guard(sink)
    , Caption(window.windowTitle())
{
    CreateActions();
    // Any change of an input is a change of the file, unless a set is being put in.
    connect(&Model, &InputModel::changed, this, [this] {
        if (!Applying)
            SetModified(true);
    });
    // "Выход" closes the window too: one question for both ways.
    Window.installEventFilter(this);
}

InputSetDocument::~InputSetDocument()
{
    Window.removeEventFilter(this);
}

void InputSetDocument::CreateActions()
{
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys, auto command) {
        // Children of the window whose menu shows them.
        auto* action = new QAction(text, &Window);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, command] { Guard.Run([this, command] { (this->*command)(); }); });
        Actions.append(action);
    };
    add("FileNew", QStringLiteral("Новый"), QKeySequence(Qt::CTRL | Qt::Key_N), &InputSetDocument::New);
    add("FileOpen", QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O), &InputSetDocument::Open);
    add("FileSave", QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), &InputSetDocument::Save);
    add("FileSaveAs", QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        &InputSetDocument::SaveAs);
    // A child of the window, as the menu it stands in.
    RecentMenu = new QMenu(QStringLiteral("Последние файлы"), &Window);
    RecentMenu->setObjectName(QStringLiteral("RecentFiles"));
    FillRecentMenu();
}

bool InputSetDocument::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &Window && event->type() == QEvent::Close) {
        bool close = true;
        Guard.Run([&] { close = MaySetInputsAside(); });
        if (!close) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void InputSetDocument::New()
{
    if (!MaySetInputsAside())
        return;
    // A new set starts with the organization and the names of the last one.
    korvelin::InputSet set = korvelin::StartUpInputSet();
    set.Document = RememberedDocumentFields(Settings);
    Apply(set);
    SetPath(QString());
    SetModified(false);
}

void InputSetDocument::Open()
{
    if (!MaySetInputsAside())
        return;
    QString folder = QFileInfo(Path).absolutePath();
    if (Path.isEmpty()) {
        const QStringList recent = RecentFiles();
        folder = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).absolutePath();
    }
    const QString path = Dialogs.FileToOpen(folder);
    if (!path.isEmpty())
        OpenFile(path);
}

bool InputSetDocument::OpenFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // The whole file is read and checked before anything in the window changes.
    const korvelin::InputSetReading reading = korvelin::ReadInputSetFile(FileSystemName(absolute));
    if (!reading.Set) {
        Sink.ShowError(QString::fromStdString(reading.Message));
        return false;
    }
    // Names the note's fonts cannot show are refused as the dialog refuses them.
    if (const QString problem = DocumentFieldsFontProblem(reading.Set->Document); !problem.isEmpty()) {
        Sink.ShowError(QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(QDir::toNativeSeparators(absolute), problem));
        return false;
    }
    Apply(*reading.Set);
    SetPath(absolute);
    RememberRecent(absolute);
    // The window shows what it can type: a text it would change on the way in leaves the file
    // to be saved again.
    SetModified(!SameInputs(ShownSet(), *reading.Set));
    return true;
}

bool InputSetDocument::Save()
{
    return Path.isEmpty() ? SaveAs() : Write(Path);
}

bool InputSetDocument::SaveAs()
{
    QString suggested = Path;
    if (suggested.isEmpty()) {
        const QStringList recent = RecentFiles();
        const QDir folder(recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).absolutePath());
        suggested = folder.filePath(QStringLiteral("Без имени.korvelin"));
    }
    QString path = Dialogs.FileToSave(suggested);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QString::fromUtf8(korvelin::kInputSetExtension.data());
    return Write(QFileInfo(path).absoluteFilePath());
}

bool InputSetDocument::Write(const QString& path)
{
    const std::string failure = korvelin::WriteInputSetFile(FileSystemName(path), ShownSet());
    if (!failure.empty()) {
        Sink.ShowError(QString::fromStdString(failure));
        return false;
    }
    SetPath(path);
    RememberRecent(path);
    SetModified(false);
    return true;
}

bool InputSetDocument::MaySetInputsAside()
{
    if (Path.isEmpty() || !Modified)
        return true;
    const QString question =
        QStringLiteral("Сохранить изменения в «%1»?").arg(QFileInfo(Path).fileName());
    switch (Dialogs.AskToSave(question)) {
    case DocumentDialogs::Answer::Yes:
        return Save();
    case DocumentDialogs::Answer::No:
        return true;
    case DocumentDialogs::Answer::Cancel:
        break;
    }
    return false;
}

korvelin::InputSet InputSetDocument::ShownSet() const
{
    return Model.ToInputSet();
}

// The set goes into the model, and the windows show it the way the user would have typed it.
// The results are reset; nothing is calculated.
void InputSetDocument::Apply(const korvelin::InputSet& set)
{
    Applying = true;
    Model.Assign(set);
    Applying = false;
}

void InputSetDocument::SetPath(const QString& path)
{
    Path = path;
    // "[*]" is where the window shows the mark of unsaved changes.
    Window.setWindowTitle(Path.isEmpty() ? Caption
                                         : QFileInfo(Path).fileName() + QStringLiteral("[*] — ") + Caption);
    SetModified(Modified);
}

// Changes count only for a file: without one there is nothing to save them to.
void InputSetDocument::SetModified(bool modified)
{
    Modified = modified;
    Window.setWindowModified(Modified && !Path.isEmpty());
}

QStringList InputSetDocument::RecentFiles() const
{
    QStringList files = Settings.value(RecentFilesKey).toStringList();
    files.removeAll(QString());
    files.removeDuplicates();
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    return files;
}

void InputSetDocument::RememberRecent(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    Settings.setValue(RecentFilesKey, files);
    FillRecentMenu();
}

void InputSetDocument::ForgetRecent(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    Settings.setValue(RecentFilesKey, files);
    FillRecentMenu();
}

void InputSetDocument::FillRecentMenu()
{
    RecentMenu->clear();
    const QStringList files = RecentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = RecentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(action, &QAction::triggered, this, [this, path] { Guard.Run([this, path] { OpenRecent(path); }); });
    }
    RecentMenu->menuAction()->setEnabled(!files.isEmpty());
}

void InputSetDocument::OpenRecent(const QString& path)
{
    if (!MaySetInputsAside())
        return;
    if (!QFileInfo::exists(path)) {
        ForgetRecent(path);
        Sink.ShowMessage(QStringLiteral("Файла «%1» больше нет, он убран из списка последних файлов.")
                             .arg(QDir::toNativeSeparators(path)));
        return;
    }
    OpenFile(path);
}
