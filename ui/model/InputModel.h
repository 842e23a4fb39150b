#pragma once

#include <korvelin/Compensation.h>
#include <korvelin/DesignSummary.h>
#include <korvelin/InputSet.h>
#include <korvelin/RunCalculation.h>
#include <korvelin/SpanInput.h>
#include <korvelin/SpanTable.h>

#include <QDateTime>
#include <QFlags>
#include <QObject>

#include <optional>
#include <string>
#include <vector>

// The inputs of the program, which the windows show and edit: the five field texts, the steel
// grade and the six selector indexes of the calculation, the chosen span and the route length of
// the page "Итог", the rows of the span table and the fields of the note as a document; beside them the last calculation, as long as
// the inputs it read stand unchanged. Each view writes the parts it edits and observes the rest;
// no view reads another one's controls.
class InputModel final : public QObject
{
    Q_OBJECT

public:
    enum class Part : unsigned {
        Fields = 1U << 0,
        SteelGrade = 1U << 1,
        Selectors = 1U << 2,
        ChosenSpan = 1U << 3,
        RouteLength = 1U << 4,
        PipeTable = 1U << 5,
        OwnClimate = 1U << 6,  // the site's own climatic values
        Friction = 1U << 7,    // the coefficient of friction of the supports
        Document = 1U << 8,    // the fields of the note as a project document
        Compensation = 1U << 9,  // the sections between fixed supports, temperatures, checks
    };
    Q_DECLARE_FLAGS(Parts, Part)
    // What a calculation reads: a change of any of these discards the last calculation.
    static constexpr Parts CalculationInputs{Part::Fields, Part::SteelGrade, Part::Selectors, Part::OwnClimate};

    // The last calculation and the moment it was made.
    struct Calculation {
        korvelin::CalculationOutcome Outcome;
        QDateTime Moment;
    };

    // The decimal separator of the user's locale, with which every view reads and shows numbers.
    explicit InputModel(std::string decimalSeparator, QObject* parent = nullptr);
    ~InputModel() override;

    const std::string& DecimalSeparator() const { return Separator; }

    const korvelin::FieldTexts& Texts() const { return Current.Texts; }
    int SteelGrade() const { return Current.SteelGrade; }
    const korvelin::SelectorIndexes& Selectors() const { return Current.Indexes; }
    // Empty when not given.
    const std::string& ChosenSpan() const { return Chosen; }
    const std::string& RouteLength() const { return Route; }
    const std::vector<korvelin::PipeSize>& PipeRows() const { return Rows; }
    const korvelin::DocumentFields& Document() const { return Current.Document; }

    // Each setter that changes something emits `changed` once with the part it changed.
    void SetTexts(const korvelin::FieldTexts& texts);
    void SetSteelGrade(int index);
    void SetSelectors(const korvelin::SelectorIndexes& indexes);
    void SetChosenSpan(const std::string& text);
    void SetRouteLength(const std::string& text);
    void SetPipeRows(const std::vector<korvelin::PipeSize>& rows);
    void SetDocument(const korvelin::DocumentFields& fields);

    // The site's own climatic values as given (those in force are read by the calculation) and the
    // coefficient of friction of the supports as typed ("0,3" at first; empty: not given).
    const korvelin::OwnClimateTexts& OwnClimate() const { return Current.OwnClimate; }
    // The values in force, as the calculation uses them; none when a text would be refused (the
    // setter takes only texts that read).
    korvelin::OwnClimate OwnClimateValues() const;
    // Takes the texts when every value in force reads, else changes nothing and returns the
    // message that names the value refused.
    std::string SetOwnClimate(const korvelin::OwnClimateTexts& texts);
    const std::string& Friction() const { return FrictionText; }
    void SetFriction(const std::string& text);

    // The compensation as typed: the sections, the temperatures and the two check values.
    const korvelin::CompensationTexts& Compensation() const { return CompensationTexts; }
    // Takes the texts when they read (CompensationTextsProblem), else changes nothing and returns
    // the message that names what was refused.
    std::string SetCompensation(const korvelin::CompensationTexts& texts);
    // Every section computed with the pipe of the fields (as the calculation reads them), μ of the
    // supports and, for the friction, q of the last completed calculation (none without one).
    // Refused, with the message, when the fields or the compensation's texts do not read; empty
    // (and not refused) without sections.
    korvelin::CompensationRun CompensationResults() const;

    // Puts a whole set in place of the inputs, as opening a file or "Новый" does: `replaced` lets
    // the main window show it through the rules of typing (which may correct it), then `changed`
    // names every part that differs from before. A set without a table of pipes keeps the rows.
    void Assign(const korvelin::InputSet& set);
    // The inputs as a set for a file.
    korvelin::InputSet ToInputSet() const;

    // The last calculation, while its inputs stand unchanged.
    const std::optional<Calculation>& LastCalculation() const { return Last; }
    // The completed calculation, or null.
    const korvelin::CalculationOutcome* CompletedOutcome() const;
    void SetCalculation(korvelin::CalculationOutcome outcome, const QDateTime& moment);
    // The chosen span and the route length as numbers; a text that is refused counts as not
    // given.
    korvelin::SummaryRequest Request() const;
    // The design summary of the last calculation with that request, when the calculation
    // completed.
    std::optional<korvelin::DesignSummary> Summary() const;
    void DiscardCalculation();

signals:
    void changed(InputModel::Parts parts);
    void replaced();
    // The last calculation was set or discarded.
    void calculated();

private:
    void Changed(Parts parts);

    std::string Separator;
    korvelin::InputSet Current;  // the calculation's inputs
    std::string Chosen;
    std::string Route;
    std::vector<korvelin::PipeSize> Rows;
    std::optional<Calculation> Last;
    std::string FrictionText;
    korvelin::CompensationTexts CompensationTexts;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(InputModel::Parts)
