#include "InputModel.h"

namespace {

bool SameTexts(const korvelin::FieldTexts& a, const korvelin::FieldTexts& b)
{
    return a.OuterDiameter == b.OuterDiameter && a.WallThickness == b.WallThickness
           && a.UltimateStrength == b.UltimateStrength && a.YieldStrength == b.YieldStrength
           && a.Pressure == b.Pressure;
}

bool SameSelectors(const korvelin::SelectorIndexes& a, const korvelin::SelectorIndexes& b)
{
    return a.HeightCategory == b.HeightCategory && a.SnowRegion == b.SnowRegion
           && a.WindRegion == b.WindRegion && a.IceRegion == b.IceRegion && a.SpanCount == b.SpanCount
           && a.Slope == b.Slope;
}

std::vector<korvelin::PipeSize> SizesOf(const std::vector<korvelin::PipeTableRow>& rows)
{
    std::vector<korvelin::PipeSize> sizes;
    sizes.reserve(rows.size());
    for (const korvelin::PipeTableRow& row : rows)
        sizes.push_back({row.Diameter, row.Wall});
    return sizes;
}

} // namespace

InputModel::InputModel(std::string decimalSeparator, QObject* parent)
    : QObject(parent)
    , Separator(std::move(decimalSeparator))
    , Current(korvelin::StartUpInputSet())
    , Rows(korvelin::DefaultPipeSizes())
    , FrictionText(korvelin::DefaultFrictionText(Separator))
{
}

InputModel::~InputModel() = default;

void InputModel::Changed(Parts parts)
{
    if (parts & CalculationInputs)
        DiscardCalculation();
    emit changed(parts);
}

void InputModel::SetTexts(const korvelin::FieldTexts& texts)
{
    if (SameTexts(Current.Texts, texts))
        return;
    Current.Texts = texts;
    Changed(Part::Fields);
}

void InputModel::SetSteelGrade(int index)
{
    if (Current.SteelGrade == index)
        return;
    Current.SteelGrade = index;
    Changed(Part::SteelGrade);
}

void InputModel::SetSelectors(const korvelin::SelectorIndexes& indexes)
{
    if (SameSelectors(Current.Indexes, indexes))
        return;
    Current.Indexes = indexes;
    Changed(Part::Selectors);
}

void InputModel::SetChosenSpan(const std::string& text)
{
    if (Chosen == text)
        return;
    Chosen = text;
    Changed(Part::ChosenSpan);
}

void InputModel::SetRouteLength(const std::string& text)
{
    if (Route == text)
        return;
    Route = text;
    Changed(Part::RouteLength);
}

void InputModel::SetPipeRows(const std::vector<korvelin::PipeSize>& rows)
{
    if (Rows == rows)
        return;
    Rows = rows;
    Changed(Part::PipeTable);
}

korvelin::OwnClimate InputModel::OwnClimateValues() const
{
    return korvelin::ReadOwnClimate(Current.OwnClimate, Separator).Values;
}

std::string InputModel::SetOwnClimate(const korvelin::OwnClimateTexts& texts)
{
    korvelin::OwnClimateReading reading = korvelin::ReadOwnClimate(texts, Separator);
    if (!reading.Ok())
        return std::move(reading.Error);
    if (Current.OwnClimate == texts)
        return {};
    Current.OwnClimate = texts;
    Changed(Part::OwnClimate);
    return {};
}

void InputModel::SetFriction(const std::string& text)
{
    if (FrictionText == text)
        return;
    FrictionText = text;
    Changed(Part::Friction);
}

void InputModel::SetDocument(const korvelin::DocumentFields& fields)
{
    if (Current.Document == fields)
        return;
    Current.Document = fields;
    Changed(Part::Document);
}

std::string InputModel::SetCompensation(const korvelin::CompensationTexts& texts)
{
    if (std::string problem = korvelin::CompensationTextsProblem(texts, Separator); !problem.empty())
        return problem;
    if (CompensationTexts == texts)
        return {};
    CompensationTexts = texts;
    Changed(Part::Compensation);
    return {};
}

korvelin::CompensationRun InputModel::CompensationResults() const
{
    const korvelin::CompensationTexts& texts = CompensationTexts;
    if (texts.Sections.empty())
        return {};
    korvelin::FpWatch fp;
    const korvelin::InputReading pipe =
        korvelin::ReadSpanInput(Current.Texts, Current.Indexes, Separator, fp);
    if (pipe.Status != korvelin::ReadStatus::Read) {
        korvelin::CompensationRun run;
        run.Refusal = korvelin::CompensationRefusal::PipeInvalid;
        run.Message = pipe.Message;
        return run;
    }
    const korvelin::CalculationOutcome* outcome = CompletedOutcome();
    return korvelin::RunCompensation(texts, pipe.Input.OuterDiameter, pipe.Input.WallThickness,
                                     Request().Friction,
                                     outcome ? korvelin::CompensationLoadsOf(*outcome)
                                             : korvelin::CompensationLoads{},
                                     Separator);
}

void InputModel::Assign(const korvelin::InputSet& set)
{
    const korvelin::InputSet before = ToInputSet();
    Current.Texts = set.Texts;
    Current.SteelGrade = set.SteelGrade;
    Current.Indexes = set.Indexes;
    Current.OwnClimate = set.OwnClimate;
    FrictionText = set.Friction.value_or(korvelin::DefaultFrictionText(Separator));
    Chosen = set.ChosenSpan.value_or(std::string());
    Route = set.RouteLength.value_or(std::string());
    if (set.PipeTable)
        Rows = SizesOf(*set.PipeTable);
    Current.Document = set.Document;
    CompensationTexts = set.Compensation.value_or(korvelin::CompensationTexts{});
    DiscardCalculation();
    emit replaced();

    Parts parts;
    const korvelin::InputSet after = ToInputSet();
    if (!SameTexts(before.Texts, after.Texts))
        parts |= Part::Fields;
    if (before.SteelGrade != after.SteelGrade)
        parts |= Part::SteelGrade;
    if (!SameSelectors(before.Indexes, after.Indexes))
        parts |= Part::Selectors;
    if (before.ChosenSpan != after.ChosenSpan)
        parts |= Part::ChosenSpan;
    if (before.RouteLength != after.RouteLength)
        parts |= Part::RouteLength;
    if (before.PipeTable != after.PipeTable)
        parts |= Part::PipeTable;
    if (before.OwnClimate != after.OwnClimate)
        parts |= Part::OwnClimate;
    if (before.Friction != after.Friction)
        parts |= Part::Friction;
    if (before.Document != after.Document)
        parts |= Part::Document;
    if (before.Compensation != after.Compensation)
        parts |= Part::Compensation;
    if (parts)
        emit changed(parts);
}

korvelin::InputSet InputModel::ToInputSet() const
{
    korvelin::InputSet set = Current;
    set.FormatName = std::string(korvelin::kInputSetFormatName);
    set.Version = korvelin::kInputSetVersion;
    set.ChosenSpan = Chosen.empty() ? std::nullopt : std::optional<std::string>(Chosen);
    set.RouteLength = Route.empty() ? std::nullopt : std::optional<std::string>(Route);
    std::vector<korvelin::PipeTableRow> rows;
    rows.reserve(Rows.size());
    for (const korvelin::PipeSize& size : Rows)
        rows.push_back({size.OuterDiameter, size.WallThickness});
    set.PipeTable = std::move(rows);
    // Saved only when it differs from the value the program starts with.
    set.Friction = FrictionText == korvelin::DefaultFrictionText(Separator) ? std::nullopt
                                                                            : std::optional(FrictionText);
    // Saved only when something of it was typed.
    set.Compensation = CompensationTexts == korvelin::CompensationTexts{}
                           ? std::nullopt
                           : std::optional(CompensationTexts);
    return set;
}

const korvelin::CalculationOutcome* InputModel::CompletedOutcome() const
{
    return Last && Last->Outcome.Kind == korvelin::OutcomeKind::Completed ? &Last->Outcome : nullptr;
}

void InputModel::SetCalculation(korvelin::CalculationOutcome outcome, const QDateTime& moment)
{
    Last = Calculation{std::move(outcome), moment};
    emit calculated();
}

void InputModel::DiscardCalculation()
{
    if (!Last)
        return;
    Last.reset();
    emit calculated();
}

korvelin::SummaryRequest InputModel::Request() const
{
    return korvelin::SummaryRequest{
        .ChosenSpan = korvelin::ReadChosenSpan(Chosen, Separator).Value,
        .RouteLength = korvelin::ReadRouteLength(Route, Separator).Value,
        .Friction = korvelin::ReadFriction(FrictionText, Separator).Value,
    };
}

std::optional<korvelin::DesignSummary> InputModel::Summary() const
{
    if (!Last)
        return std::nullopt;
    return korvelin::SummarizeDesign(Last->Outcome, Request());
}
