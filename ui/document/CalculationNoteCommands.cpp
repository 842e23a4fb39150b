#include "CalculationNoteCommands.h"

#include "CalculationStamp.h"
#include "InputModel.h"
#include "Utf8Text.h"

#include <korvelin/CalculationNote.h>
#include <korvelin/CompensationDrawing.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

CalculationNoteCommands::CalculationNoteCommands(InputModel& model, MessageSink& sink, QWidget& window)
    : Model(model)
    , Files(std::make_unique<NoteFileCommands>(
          static_cast<NoteSource&>(*this), sink, window,
          NoteFileTexts{QStringLiteral("Сохранить расчет в PDF"), QStringLiteral("Сохранить расчет в ODT"),
                        QStringLiteral("Печать расчета")},
          QStringLiteral("Сохранить расчет в PDF…"), QStringLiteral("Сохранить расчет в ODT…"),
          QStringLiteral("Печать…")))
    , Copy(new QAction(QStringLiteral("Копировать результаты"), &window))
{
    SavePdfAction()->setObjectName(QStringLiteral("ActionSavePdf"));
    SavePdfAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    SaveOdtAction()->setObjectName(QStringLiteral("ActionSaveOdt"));
    PrintAction()->setObjectName(QStringLiteral("ActionPrint"));
    PrintAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Copy->setObjectName(QStringLiteral("ActionCopyResults"));
    Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    for (QAction* action : Actions())
        action->setShortcutContext(Qt::WindowShortcut);
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
    Files->UpdateEnabled();
    Copy->setEnabled(HasResults());
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
    inputs.Compensation = korvelin::CompensationNoteSections(Model.CompensationResults(), inputs.DecimalSeparator);
    return korvelin::BuildCalculationNote(inputs, *Model.CompletedOutcome(), *Model.Summary());
}

QString CalculationNoteCommands::SuggestedPdfName(const QString& extension) const
{
    return QStringLiteral("Пролет %1x%2.%3")
        .arg(FromUtf8(Model.Texts().OuterDiameter), FromUtf8(Model.Texts().WallThickness), extension);
}

void CalculationNoteCommands::CopyResults()
{
    if (!HasResults())
        return;
    QGuiApplication::clipboard()->setText(
        FromUtf8(korvelin::CopiedResults(*Model.CompletedOutcome(), *Model.Summary(), Model.DecimalSeparator())));
}
