#include "InputSetDocument.h"

#include "MessageSink.h"
#include "Unit1.h"

#include <korvelin/InputSetFile.h>
#include <korvelin/Selectors.h>

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {

const QString RecentFilesKey = QStringLiteral("RecentFiles");
const QString FileFilter = QStringLiteral("Исходные данные Korvelin (*.korvelin)");
const QString AllFilesFilter = QStringLiteral("Все файлы (*)");

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

DocumentDialogs::~DocumentDialogs() = default;

SystemDocumentDialogs::SystemDocumentDialogs(QWidget* parent)
    : Parent(parent)
{
}

DocumentDialogs::Answer SystemDocumentDialogs::AskToSave(const QString& question)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), question,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString SystemDocumentDialogs::FileToOpen(const QString& folder)
{
    return QFileDialog::getOpenFileName(Parent, QStringLiteral("Открыть"), folder,
                                        FileFilter + QStringLiteral(";;") + AllFilesFilter);
}

QString SystemDocumentDialogs::FileToSave(const QString& suggested)
{
    return QFileDialog::getSaveFileName(Parent, QStringLiteral("Сохранить как"), suggested, FileFilter);
}

InputSetDocument::InputSetDocument(TFormProlet& form, MessageSink& sink, DocumentDialogs& dialogs,
                                   QSettings& settings)
    : Form(form)
    , Sink(sink)
    , Dialogs(dialogs)
    , Settings(settings)
    , Guard(sink)
    , Caption(form.windowTitle())
    , Opened(korvelin::StartUpInputSet())
{
    CreateActions();
    connect(&Form, &TFormProlet::InputsChanged, this, &InputSetDocument::PartChanged);
    // "Выход" closes the window too: one question for both ways.
    Form.installEventFilter(this);
}

InputSetDocument::~InputSetDocument()
{
    Form.removeEventFilter(this);
}

void InputSetDocument::CreateActions()
{
    auto* menu = Form.findChild<QMenu*>(QStringLiteral("N1"));
    auto* exit = Form.findChild<QAction*>(QStringLiteral("N5"));
    Q_ASSERT(menu != nullptr && exit != nullptr);
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys, auto command) {
        auto* action = new QAction(text, menu);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, command] { Guard.Run([this, command] { (this->*command)(); }); });
        menu->insertAction(exit, action);
    };
    add("FileNew", QStringLiteral("Новый"), QKeySequence(Qt::CTRL | Qt::Key_N), &InputSetDocument::New);
    add("FileOpen", QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O), &InputSetDocument::Open);
    add("FileSave", QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), &InputSetDocument::Save);
    add("FileSaveAs", QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        &InputSetDocument::SaveAs);
    menu->insertSeparator(exit);
    RecentMenu = new QMenu(QStringLiteral("Последние файлы"), menu);
    RecentMenu->setObjectName(QStringLiteral("RecentFiles"));
    menu->insertMenu(exit, RecentMenu);
    menu->insertSeparator(exit);
    FillRecentMenu();
}

bool InputSetDocument::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &Form && event->type() == QEvent::Close) {
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
    Apply(korvelin::StartUpInputSet());
    SetPath(QString());
    Modified = false;
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
    Apply(*reading.Set);
    SetPath(absolute);
    RememberRecent(absolute);
    // A diameter beyond the limit was corrected on the way in: the window no longer shows the file.
    Modified = !SameInputs(ShownSet(), *reading.Set);
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
    Modified = false;
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
    korvelin::InputSet set = Opened;
    set.FormatName = std::string(korvelin::kInputSetFormatName);
    set.Version = korvelin::kInputSetVersion;
    set.Texts = Form.FieldTextsShown();
    set.SteelGrade = Form.SteelGradeShown();
    set.Indexes = Form.SelectorsShown();
    for (const auto& contributor : Contributors)
        contributor(set);
    return set;
}

void InputSetDocument::PartChanged()
{
    if (!Applying)
        Modified = true;
}

void InputSetDocument::AddContributor(std::function<void(korvelin::InputSet&)> contributor)
{
    Contributors.push_back(std::move(contributor));
}

// Puts the set into the controls the way the user would: the steel grade first (a listed grade
// fills in the strengths and "Свой" enables them), then the fields (the wall before the diameter,
// whose limit depends on it) and the selectors, each through the window's own change rules.
// They reset the results; nothing is calculated.
void InputSetDocument::Apply(const korvelin::InputSet& set)
{
    const auto pick = [this](const char* name, int index) {
        auto* box = Form.findChild<QComboBox*>(QString::fromLatin1(name));
        box->setCurrentIndex(index);
        emit box->activated(index);
    };
    const auto type = [this](const char* name, const std::string& text) {
        Form.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromStdString(text));
    };
    Applying = true;
    pick("ComboBox6", set.SteelGrade);
    type("Edit3", set.Texts.WallThickness);
    type("Edit2", set.Texts.OuterDiameter);
    type("Edit1", set.Texts.Pressure);
    if (korvelin::FindSteelGrade(set.SteelGrade)->UserDefined) {
        type("Edit4", set.Texts.UltimateStrength);
        type("Edit5", set.Texts.YieldStrength);
    }
    pick("ComboBox1", set.Indexes.HeightCategory);
    pick("ComboBox2", set.Indexes.SnowRegion);
    pick("ComboBox3", set.Indexes.WindRegion);
    pick("ComboBox7", set.Indexes.IceRegion);
    pick("ComboBox4", set.Indexes.SpanCount);
    pick("ComboBox5", set.Indexes.Slope);
    Opened = set;
    // The other windows take their parts while the set is being applied: no change of theirs
    // counts as the user's.
    emit SetApplied(set);
    Applying = false;
}

void InputSetDocument::SetPath(const QString& path)
{
    Path = path;
    Form.setWindowTitle(Path.isEmpty() ? Caption
                                       : QFileInfo(Path).fileName() + QStringLiteral(" — ") + Caption);
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
