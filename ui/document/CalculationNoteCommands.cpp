#include "CalculationNoteCommands.h"

#include "CalculationStamp.h"
#include "InputModel.h"
#include "MessageSink.h"
#include "NoteRenderer.h"
#include "Utf8Text.h"

#include <korvelin/CalculationNote.h>
#include <korvelin/CompensationDrawing.h>

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

CalculationNoteCommands::CalculationNoteCommands(InputModel& model, MessageSink& sink, QWidget& window)
    : Model(model)
    , Sink(sink)
    , Window(window)
    , SavePdf(new QAction(QStringLiteral("Сохранить расчет в PDF…"), &window))
    , SaveOdt(new QAction(QStringLiteral("Сохранить расчет в ODT…"), &window))
    , Print(new QAction(QStringLiteral("Печать…"), &window))
    , Copy(new QAction(QStringLiteral("Копировать результаты"), &window))
{
    SavePdf->setObjectName(QStringLiteral("ActionSavePdf"));
    SavePdf->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    SaveOdt->setObjectName(QStringLiteral("ActionSaveOdt"));
    Print->setObjectName(QStringLiteral("ActionPrint"));
    Print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Copy->setObjectName(QStringLiteral("ActionCopyResults"));
    Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    for (QAction* action : Actions())
        action->setShortcutContext(Qt::WindowShortcut);
    connect(SavePdf, &QAction::triggered, this, &CalculationNoteCommands::AskAndSavePdf);
    connect(SaveOdt, &QAction::triggered, this, &CalculationNoteCommands::AskAndSaveOdt);
    connect(Print, &QAction::triggered, this, &CalculationNoteCommands::AskAndPrint);
    connect(Copy, &QAction::triggered, this, &CalculationNoteCommands::CopyResults);
    connect(&Model, &InputModel::calculated, this, &CalculationNoteCommands::UpdateEnabled);
    UpdateEnabled();
}

CalculationNoteCommands::~CalculationNoteCommands() = default;

bool CalculationNoteCommands::HasResults() const
{
    return Model.CompletedOutcome() != nullptr;
}

void CalculationNoteCommands::UpdateEnabled()
{
    for (QAction* action : Actions())
        action->setEnabled(HasResults());
}

korvelin::NoteDocument CalculationNoteCommands::Note(bool frameAsAsked) const
{
    // The inputs stand as the calculation read them: any change would have discarded it.
    korvelin::NoteInputs inputs;
    inputs.Texts = Model.Texts();
    inputs.Selectors = Model.Selectors();
    inputs.SteelGrade = Model.SteelGrade();
    inputs.DecimalSeparator = Model.DecimalSeparator();
    inputs.DateTime = DocumentMoment(Model.LastCalculation()->Moment);
    inputs.Program = ProgramNameAndVersion();
    inputs.OwnClimate = Model.OwnClimate();
    inputs.Document = Model.Document();
    inputs.Framed = frameAsAsked && korvelin::FrameWanted(inputs.Document);
    // The sections between fixed supports, when they compute, each with its drawing.
    const korvelin::CompensationRun compensation = Model.CompensationResults();
    if (compensation.Ok()) {
        for (const korvelin::CompensationResult& section : compensation.Sections)
            inputs.Compensation.push_back({section, korvelin::CompensationDrawing(section, inputs.DecimalSeparator)});
    }
    return korvelin::BuildCalculationNote(inputs, *Model.CompletedOutcome(), *Model.Summary());
}

QString CalculationNoteCommands::SuggestedPdfName(const QString& extension) const
{
    return QStringLiteral("Пролет %1x%2.%3")
        .arg(FromUtf8(Model.Texts().OuterDiameter), FromUtf8(Model.Texts().WallThickness), extension);
}

bool CalculationNoteCommands::SavePdfTo(const QString& path)
{
    if (!HasResults())
        return false;
    const QString error = WriteNotePdf(Note(), path);
    if (!error.isEmpty()) {
        Sink.ShowError(error);
        return false;
    }
    return true;
}

bool CalculationNoteCommands::SaveOdtTo(const QString& path)
{
    if (!HasResults())
        return false;
    const QString error = WriteNoteOdt(Note(), path);
    if (!error.isEmpty()) {
        Sink.ShowError(error);
        return false;
    }
    return true;
}

void CalculationNoteCommands::PrintOn(QPagedPaintDevice& device)
{
    if (HasResults())
        PrintNote(Note(), device);
}

void CalculationNoteCommands::CopyResults()
{
    if (!HasResults())
        return;
    QGuiApplication::clipboard()->setText(
        FromUtf8(korvelin::CopiedResults(*Model.CompletedOutcome(), *Model.Summary(), Model.DecimalSeparator())));
}

void CalculationNoteCommands::AskAndSavePdf()
{
    if (!HasResults())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        &Window, QStringLiteral("Сохранить расчет в PDF"), folder + QLatin1Char('/') + SuggestedPdfName(),
        QStringLiteral("Документ PDF (*.pdf)"));
    if (!path.isEmpty())
        SavePdfTo(path);
}

void CalculationNoteCommands::AskAndSaveOdt()
{
    if (!HasResults())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        &Window, QStringLiteral("Сохранить расчет в ODT"),
        folder + QLatin1Char('/') + SuggestedPdfName(QStringLiteral("odt")),
        QStringLiteral("Текст OpenDocument (*.odt)"));
    if (!path.isEmpty())
        SaveOdtTo(path);
}

void CalculationNoteCommands::AskAndPrint()
{
    if (!HasResults())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &Window);
    dialog.setWindowTitle(QStringLiteral("Печать расчета"));
    if (dialog.exec() == QDialog::Accepted)
        PrintOn(printer);
}
