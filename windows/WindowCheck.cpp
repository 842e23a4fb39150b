// korvelin-window-check: the Windows edition's windows, driven the way a user drives them, on the
// system's real window platform (under Wine with a virtual display). It builds the windows as
// korvelin.exe does, presses "Расчитать" on the start-up inputs, opens the snow map and the
// technical sheet, saves the inputs to a .korvelin file (its name and folder outside the ANSI code
// page) and the note to a PDF, and writes a picture of every window it opened. Exit status 0 when every step gave what it should.
//
//   korvelin-window-check.exe OUTPUT-FOLDER

#include "AppWindows.h"
#include "CalculationNoteCommands.h"
#include "DocumentDialogs.h"
#include "InputSetDocument.h"
#include "LMAP.h"
#include "MessageSink.h"
#include "Startup.h"
#include "Unit1.h"
#include "Unit2.h"

#include <korvelin/InputSetFile.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QWindow>

#include <cstdio>

namespace {

int Failures = 0;

void Report(bool ok, const QString& what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.toUtf8().constData());
    std::fflush(stdout);
    if (!ok)
        ++Failures;
}

// Every message box the windows would show: there must be none in this flow.
class RecordingSink final : public MessageSink
{
public:
    void ShowMessage(const QString& text) override { Report(false, "сообщение: " + text); }
    void ShowError(const QString& text) override { Report(false, "ошибка: " + text); }
};

// Answers the file questions as a user would: save to the folder of the check.
class FolderDialogs final : public DocumentDialogs
{
public:
    explicit FolderDialogs(QString path) : Path(std::move(path)) {}
    Answer AskToSave(const QString&) override { return Answer::No; }
    QString FileToOpen(const QString&) override { return Path; }
    QString FileToSave(const QString&) override { return Path; }

private:
    QString Path;
};

// Lets the window system show the window and paint it.
bool WaitShown(QWidget& window)
{
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
            QApplication::processEvents(QEventLoop::AllEvents, 200);
            return true;
        }
    }
    return false;
}

void Picture(QWidget& window, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    Report(window.grab().save(path, "PNG"), "снимок окна «" + window.windowTitle() + "» в " + name);
}

template <typename T>
T* Control(QWidget& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        Report(false, QStringLiteral("нет элемента ") + QString::fromLatin1(name));
    return control;
}

}  // namespace

int main(int argc, char* argv[])
{
    ChoosePlatformOptions();
    QApplication application(argc, argv);
    SetApplicationTitle();
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvelin-window-check OUTPUT-FOLDER\n");
        return 2;
    }
    // Qt reads the arguments from the wide command line: the folder may have any name.
    const QDir folder(QApplication::arguments().at(1));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "korvelin-window-check: cannot create %s\n", argv[1]);
        return 2;
    }
    const QString separator = UserDecimalSeparator();
    Report(separator == QStringLiteral(","), "десятичный разделитель системы: «" + separator + "»");
    // Qt's own texts in the user's language, from "translations" beside the program.
    const bool translated = InstallQtTranslations(application, QLocale::system());
    const QString cancel = QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text().remove(u'&');
    Report(translated && cancel == QStringLiteral("Отмена"), "тексты Qt по-русски: кнопка «" + cancel + "»");

    RecordingSink sink;
    QSettings settings(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QDir().mkpath(folder.filePath(QStringLiteral("Қазақ")));
    const QString inputsPath = folder.filePath(QStringLiteral("Қазақ/Пролёт №1 — Müller.korvelin"));
    QFile::remove(inputsPath);
    FolderDialogs dialogs(inputsPath);
    AppWindows windows = CreateAppWindows(sink, separator, settings, &dialogs);
    InputSetDocument& document = *windows.Document;

    TFormProlet& form = *windows.FormProlet;
    form.show();
    Report(WaitShown(form), "главное окно открыто: «" + form.windowTitle() + "»");

    // "Расчитать" on the start-up inputs.
    if (auto* calculate = Control<QPushButton>(form, "BitBtn1")) {
        Report(calculate->text() == QStringLiteral("Расчитать"), "кнопка «" + calculate->text() + "»");
        calculate->click();
    }
    QApplication::processEvents();
    const QStringList expected{"18,441", "3,122", "6,128", "9,965", "13,851", "9,189"};
    QStringList shown;
    for (const char* name : {"Edit6", "Edit7", "Edit8", "Edit9", "Edit11", "Edit13"}) {
        if (auto* field = Control<QLineEdit>(form, name))
            shown << field->text();
    }
    Report(shown == expected, "пролеты: " + shown.join(QStringLiteral(" / ")));
    Picture(form, folder, QStringLiteral("main.png"));

    // The snow map.
    if (auto* snowMap = Control<QPushButton>(form, "BitBtn2"))
        snowMap->click();
    TLookMap& map = *windows.LookMap;
    Report(map.isVisible() && WaitShown(map), "окно карты открыто: «" + map.windowTitle() + "»");
    Picture(map, folder, QStringLiteral("map.png"));
    map.close();

    // The technical sheet with the intermediate values.
    if (auto* sheetEntry = form.findChild<QAction*>(QStringLiteral("N4")))
        sheetEntry->trigger();
    TProletTEMP& sheet = *windows.ProletTEMP;
    Report(sheet.isVisible() && WaitShown(sheet), "технический лист открыт: «" + sheet.windowTitle() + "»");
    Picture(sheet, folder, QStringLiteral("sheet.png"));
    sheet.close();

    // The inputs as a file, read back.
    Report(document.SaveAs() && QFile::exists(inputsPath), "исходные данные сохранены: " + inputsPath);
    const korvelin::InputSetReading reading =
        korvelin::ReadInputSetFile(inputsPath.toStdString());
    Report(reading.Set.has_value() && reading.Set->Texts.OuterDiameter == "89",
           "файл исходных данных прочитан" +
               (reading.Set ? QString() : ": " + QString::fromStdString(reading.Message)));

    // The calculation note as a PDF.
    const QString pdfPath = folder.filePath(windows.Note->SuggestedPdfName());
    QFile::remove(pdfPath);
    const bool written = windows.Note->SavePdfTo(pdfPath);
    QFile pdf(pdfPath);
    const bool readable = pdf.open(QIODevice::ReadOnly);
    Report(written && readable && pdf.read(5) == "%PDF-" && pdf.size() > 10000,
           "записка в PDF: " + pdfPath + " (" + QString::number(pdf.size()) + " байт)");

    std::printf(Failures == 0 ? "window check passed\n" : "window check FAILED: %d\n", Failures);
    return Failures == 0 ? 0 : 1;
}
