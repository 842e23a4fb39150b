#include "korvelin/RouteSchedule.h"

#include "korvelin/BatchColumns.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/SupportLoads.h"

#include <algorithm>
#include <memory>
#include <cmath>
#include <utility>

namespace korvelin {
namespace {

// Two places closer than this are one place, m (the tolerance of the division into spans).
constexpr double kSamePlace = 0.001;

struct Rotation {
    int Cos = 1;
    int Sin = 0;
};

Rotation Compose(Rotation a, LegDirection b)
{
    return {a.Cos * b.Cos - a.Sin * b.Sin, a.Sin * b.Cos + a.Cos * b.Sin};
}

// A vector of a section's axes in the route's axes.
std::pair<long double, long double> Rotate(Rotation r, long double x, long double y)
{
    return {r.Cos * x - r.Sin * y, r.Sin * x + r.Cos * y};
}

// A support of the route before its loads: where it stands and what it is.
struct Place {
    ScheduleKind Kind = ScheduleKind::Sliding;
    std::size_t Section = 0;
    std::size_t Leg = 0;
    double Distance = 0;
    bool Corner = false;
    bool Shared = false;
    bool Edited = false;
    double Chainage = 0;
};

std::string PlaceText(std::size_t section, std::size_t leg, double distance)
{
    return "участок " + std::to_string(section + 1) + ", плечо " + std::to_string(leg + 1) + ", " +
           FormatGeneral(distance, ",") + " м";
}

// The force of the pipe on a fixed support by one set of rules in one case: −Σ of the reactions of
// the sections ending on it, in the route's axes, resolved along and across the pipe.
struct EndReaction {
    const CompensationResult* Result = nullptr;
    Rotation Turn;
    bool AtStart = true;  // support A of the section, else its support B
};

HorizontalForce FixedForce(const std::vector<EndReaction>& ends, RuleSet rules, bool heating,
                           LegDirection along)
{
    long double x = 0;
    long double y = 0;
    long double friction = 0;
    for (const EndReaction& end : ends) {
        const std::optional<RuleSetCompensation>& set = rules == RuleSet::SP ? end.Result->SP
                                                                             : end.Result->SNiP;
        const CompensationCase* solved = nullptr;
        if (set) {
            const CompensationCase& own = heating ? set->HeatingCase : set->CoolingCase;
            if (!own.Nodes.empty()) {
                solved = &own;
            }
        }
        // A set whose solution does not carry the friction yet: the frictionless frame and the
        // friction of the leg next to the support added along it in magnitude.
        const CompensationCase& used = solved != nullptr ? *solved : end.Result->Of(heating);
        if (solved == nullptr && set) {
            friction += end.AtStart ? set->SupportsFriction.A : set->SupportsFriction.B;
        }
        const SupportReaction& r = end.AtStart ? used.A : used.B;
        const auto [rx, ry] = Rotate(end.Turn, r.Fx, r.Fy);
        x -= rx;
        y -= ry;
    }
    HorizontalForce force;
    force.X = static_cast<double>(x);
    force.Y = static_cast<double>(y);
    force.Along = static_cast<double>(std::fabs(x * along.Cos + y * along.Sin) + friction);
    force.Across = static_cast<double>(std::fabs(-x * along.Sin + y * along.Cos));
    return force;
}

// The forces of the section's solution on one of its supports by one set of rules: the friction
// along the leg and the friction across it with a guide's force, each the larger of heating and
// cooling (N). The set's own solution with the friction; without it (no μ) the frictionless one.
// None when the solution does not carry that support.
struct SolvedSupport {
    double Along = 0;
    double Across = 0;
};
std::optional<SolvedSupport> SolvedForces(const CompensationResult& result, RuleSet rules,
                                          const SupportPlace& place, std::size_t index)
{
    const std::optional<RuleSetCompensation>& set = rules == RuleSet::SP ? result.SP : result.SNiP;
    const CompensationCase& heating = set ? set->HeatingCase : result.Heating;
    const CompensationCase& cooling = set ? set->CoolingCase : result.Cooling;
    const LegDirection d = SectionDirections(result.Section)[place.Leg];
    SolvedSupport solved;
    for (const CompensationCase* c : {&heating, &cooling}) {
        if (index >= c->Supports.size()) {
            return std::nullopt;
        }
        const SupportForces& forces = c->Supports[index];
        if (forces.Place.Leg != place.Leg || forces.Place.Distance != place.Distance) {
            return std::nullopt;
        }
        const long double fx = forces.FrictionX;
        const long double fy = forces.FrictionY;
        const long double along = std::fabs(fx * d.Cos + fy * d.Sin);
        const long double across = std::fabs(-fx * d.Sin + fy * d.Cos) + std::fabs(forces.GuideForce);
        solved.Along = std::max(solved.Along, static_cast<double>(along));
        solved.Across = std::max(solved.Across, static_cast<double>(across));
    }
    return solved;
}

}  // namespace

std::string_view ScheduleKindName(ScheduleKind kind)
{
    switch (kind) {
    case ScheduleKind::Fixed:
        return "неподвижная";
    case ScheduleKind::Sliding:
        return "скользящая";
    case ScheduleKind::Guide:
        return "направляющая";
    }
    return {};
}

std::string_view ScheduleKindKey(ScheduleKind kind)
{
    switch (kind) {
    case ScheduleKind::Fixed:
        return "fixed";
    case ScheduleKind::Sliding:
        return "sliding";
    case ScheduleKind::Guide:
        return "guide";
    }
    return {};
}

std::string_view SharedFixedSupportRule()
{
    return "Неподвижная опора между двумя участками воспринимает векторную сумму реакций обоих "
           "участков на эту опору, отдельно при нагреве и при охлаждении, по каждому своду правил; "
           "сумма разложена вдоль и поперек трубы.";
}

ScheduleOutcome BuildRouteSchedule(const ScheduleInput& input)
{
    ScheduleOutcome outcome;
    const auto refuse = [&outcome](std::string message) {
        outcome.Message = std::move(message);
        return outcome;
    };
    if (input.Sections.empty()) {
        return refuse("Для ведомости опор нужен хотя бы один участок трассы");
    }
    const std::optional<ScheduleRuleLoads>& placing =
        input.PlacementRules == RuleSet::SP ? input.SP : input.SNiP;
    if (!placing || !placing->GoverningSpan) {
        return refuse("Для расстановки опор по " + std::string(RuleSetName(input.PlacementRules)) +
                      " нужен выполненный расчет пролета по этому своду правил");
    }

    // Each section's place on the route: its start and the turn of its axes.
    const std::size_t sectionCount = input.Sections.size();
    std::vector<Rotation> turns(sectionCount);
    std::vector<std::pair<double, double>> origins(sectionCount);
    std::vector<std::vector<LegDirection>> directions(sectionCount);
    std::vector<std::vector<SectionPoint>> nodes(sectionCount);
    std::vector<double> sectionChainage(sectionCount);
    long double chainage = 0;
    for (std::size_t k = 0; k < sectionCount; ++k) {
        const CompensationSection& section = input.Sections[k].Section;
        directions[k] = SectionDirections(section);
        nodes[k] = SectionNodes(section);
        if (k > 0) {
            turns[k] = Compose(turns[k - 1], directions[k - 1].back());
            const SectionPoint& end = nodes[k - 1].back();
            const auto [dx, dy] = Rotate(turns[k - 1], end.X, end.Y);
            origins[k] = {static_cast<double>(origins[k - 1].first + dx),
                          static_cast<double>(origins[k - 1].second + dy)};
        }
        sectionChainage[k] = static_cast<double>(chainage);
        for (const double length : section.Legs) {
            chainage += length;
        }
    }
    const double routeLength = static_cast<double>(chainage);

    // Each section's supports by the one placement its own solution takes, with the edits; the
    // forces of its solution belong to them when the section was solved at these very places.
    for (const SupportEdit& edit : input.Edits) {
        if (edit.Section >= sectionCount) {
            return refuse("Правка опоры: на месте «" + PlaceText(edit.Section, edit.Leg, edit.Distance) +
                          "» нет скользящей опоры или направляющей");
        }
    }
    std::vector<SectionSupports> placements(sectionCount);
    std::vector<bool> solvedHere(sectionCount, false);
    for (std::size_t k = 0; k < sectionCount; ++k) {
        const CompensationResult& result = input.Sections[k];
        placements[k] = PlaceSupports(result.Section, placing->GoverningSpan, input.PlacementRules,
                                      input.Edits, k);
        if (!placements[k].Problem.empty()) {
            return refuse(placements[k].Problem);
        }
        solvedHere[k] = result.Placement.Rules == input.PlacementRules &&
                        SamePlaces(placements[k].Places, result.Placement.Places);
    }

    // The rows in route order: each section's support A, its places; the last support B.
    std::vector<Place> places;
    std::vector<const SupportPlace*> placed;  // the section's place of each row; none for a fixed one
    std::vector<std::size_t> placeIndex;      // its index in the section's places
    std::vector<long double> loadLength;      // m, V = q × it
    for (std::size_t k = 0; k < sectionCount; ++k) {
        Place fixed;
        fixed.Kind = ScheduleKind::Fixed;
        fixed.Section = k;
        fixed.Shared = k > 0;
        fixed.Chainage = sectionChainage[k];
        places.push_back(fixed);
        placed.push_back(nullptr);
        placeIndex.push_back(0);
        loadLength.push_back(static_cast<long double>(placements[k].LoadLengthA) +
                             (k > 0 ? placements[k - 1].LoadLengthB : 0.0));
        for (std::size_t j = 0; j < placements[k].Places.size(); ++j) {
            const SupportPlace& support = placements[k].Places[j];
            Place place;
            place.Kind = support.Kind == SupportKind::Guide ? ScheduleKind::Guide : ScheduleKind::Sliding;
            place.Section = k;
            place.Leg = support.Leg;
            place.Distance = support.Distance;
            place.Corner = support.Corner;
            place.Edited = support.Edited;
            place.Chainage = static_cast<double>(static_cast<long double>(sectionChainage[k]) +
                                                 support.Chainage);
            places.push_back(place);
            placed.push_back(&support);
            placeIndex.push_back(j);
            loadLength.push_back(support.LoadLength);
        }
    }
    {
        Place last;
        last.Kind = ScheduleKind::Fixed;
        last.Section = sectionCount - 1;
        last.Leg = input.Sections.back().Section.Legs.size() - 1;
        last.Distance = input.Sections.back().Section.Legs.back();
        last.Chainage = routeLength;
        places.push_back(last);
        placed.push_back(nullptr);
        placeIndex.push_back(0);
        loadLength.push_back(placements.back().LoadLengthB);
    }

    RouteSchedule schedule;
    schedule.PlacementRules = input.PlacementRules;
    schedule.Friction = input.Friction;
    schedule.Length = routeLength;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place& place = places[i];
        ScheduleRow row;
        row.No = i + 1;
        row.Kind = place.Kind;
        row.Section = place.Section;
        row.Leg = place.Leg;
        row.Distance = place.Distance;
        row.Corner = place.Corner;
        row.Shared = place.Shared;
        row.Edited = place.Edited;
        row.Chainage = place.Chainage;
        if (i > 0) {
            row.SpanBefore =
                static_cast<double>(static_cast<long double>(place.Chainage) - places[i - 1].Chainage);
        }
        if (i + 1 < places.size()) {
            row.SpanAfter =
                static_cast<double>(static_cast<long double>(places[i + 1].Chainage) - place.Chainage);
        }
        // The point of the pipe's axis as the placement found it (at a corner the middle of the
        // bend's arc); a fixed support at its section's end.
        long double px = 0;
        long double py = 0;
        if (placed[i] != nullptr) {
            px = placed[i]->X;
            py = placed[i]->Y;
        } else if (!place.Shared && i > 0) {
            px = nodes[place.Section].back().X;
            py = nodes[place.Section].back().Y;
        }
        const auto [rx, ry] = Rotate(turns[place.Section], px, py);
        row.X = static_cast<double>(origins[place.Section].first + rx);
        row.Y = static_cast<double>(origins[place.Section].second + ry);
        schedule.Rows.push_back(std::move(row));
    }

    // Each beam's division as placed, numbered by the route's rows.
    {
        std::size_t firstRow = 0;
        for (std::size_t k = 0; k < sectionCount; ++k) {
            for (const BeamDivision& beam : placements[k].Beams) {
                LegDivision division;
                static_cast<BeamDivision&>(division) = beam;
                division.Section = k;
                if (division.LongestSpan > division.GoverningSpan + kSamePlace) {
                    schedule.Warnings.push_back(
                        "пролет " + FormatFixed3(division.LongestSpan, ",") + " м после опоры № " +
                        std::to_string(firstRow + beam.LongestAfter + 1) +
                        " длиннее определяющего пролета " + FormatFixed3(division.GoverningSpan, ",") +
                        " м балки из " + std::to_string(beam.Spans) + " пролетов по " +
                        std::string(RuleSetName(input.PlacementRules)));
                }
                schedule.Legs.push_back(division);
            }
            firstRow += placements[k].Places.size() + 1;
        }
    }

    // The sections ending on each fixed support, in route order.
    std::size_t fixedIndex = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        ScheduleRow& row = schedule.Rows[i];
        std::vector<EndReaction> meeting;
        LegDirection along = directions[row.Section][row.Leg];
        if (row.Kind == ScheduleKind::Fixed) {
            if (fixedIndex > 0) {
                meeting.push_back({&input.Sections[fixedIndex - 1], turns[fixedIndex - 1], false});
            }
            if (fixedIndex < sectionCount) {
                meeting.push_back({&input.Sections[fixedIndex], turns[fixedIndex], true});
            }
            const std::size_t k = std::min(fixedIndex, sectionCount - 1);
            const LegDirection own = fixedIndex < sectionCount ? directions[k].front() : directions[k].back();
            const Rotation turned = Compose(turns[k], own);
            along = {turned.Cos, turned.Sin};
            ++fixedIndex;
        } else {
            const Rotation turned = Compose(turns[row.Section], along);
            along = {turned.Cos, turned.Sin};
        }
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const std::optional<ScheduleRuleLoads>& set = rules == RuleSet::SP ? input.SP : input.SNiP;
            if (!set) {
                continue;
            }
            ScheduleLoads loads;
            loads.Vertical = static_cast<double>(static_cast<long double>(set->VerticalLoad) * loadLength[i]);
            const long double wind = static_cast<long double>(set->WindLoad) * loadLength[i];
            if (row.Kind == ScheduleKind::Fixed) {
                FixedSupportForces forces;
                forces.Heating = FixedForce(meeting, rules, true, along);
                forces.Cooling = FixedForce(meeting, rules, false, along);
                loads.Along = std::max(forces.Heating.Along, forces.Cooling.Along);
                loads.Across = std::max(forces.Heating.Across, forces.Cooling.Across);
                loads.Fixed = forces;
            } else if (const std::optional<SolvedSupport> solved =
                           solvedHere[row.Section]
                               ? SolvedForces(input.Sections[row.Section], rules, *placed[i],
                                              placeIndex[i])
                               : std::nullopt) {
                // The section's own solution at this support: its friction along and across the
                // leg, a guide's force, the larger of heating and cooling.
                loads.Along = solved->Along;
                loads.Across = static_cast<double>(wind + solved->Across);
            } else {
                // A section solved apart from the route's supports: the friction limit μ·V.
                loads.Along = input.Friction
                                  ? static_cast<double>(static_cast<long double>(*input.Friction) *
                                                        loads.Vertical)
                                  : 0;
                loads.Across = static_cast<double>(wind);
            }
            (rules == RuleSet::SP ? row.SP : row.SNiP) = loads;
        }
    }

    for (std::size_t t = 0; t < schedule.Totals.size(); ++t) {
        schedule.Totals[t].Kind = static_cast<ScheduleKind>(t);
    }
    for (const ScheduleRow& row : schedule.Rows) {
        ScheduleTotal& total = schedule.Totals[static_cast<std::size_t>(row.Kind)];
        ++total.Count;
        for (const RuleSet rules : {RuleSet::SP, RuleSet::SNiP}) {
            const std::size_t r = rules == RuleSet::SP ? 0 : 1;
            if (const std::optional<ScheduleLoads>& loads = row.Of(rules)) {
                total.Vertical[r] = static_cast<double>(static_cast<long double>(total.Vertical[r]) + loads->Vertical);
                total.Along[r] = static_cast<double>(static_cast<long double>(total.Along[r]) + loads->Along);
                total.Across[r] = static_cast<double>(static_cast<long double>(total.Across[r]) + loads->Across);
            }
        }
    }
    outcome.Schedule = std::move(schedule);
    return outcome;
}

namespace {

constexpr std::array<std::string_view, kScheduleColumns> kScheduleHeaders = {
    "№",
    "Тип опоры",
    "Участок",
    "Плечо",
    "Пикетаж,\nм",
    "x, м",
    "y, м",
    "V по СП,\nН",
    "V по СНиП,\nН",
    "H вдоль\nпо СП, Н",
    "H вдоль\nпо СНиП, Н",
    "H поперек\nпо СП, Н",
    "H поперек\nпо СНиП, Н",
    "Нагрев,\nвдоль\nпо СП, Н",
    "Нагрев,\nпоперек\nпо СП, Н",
    "Охлаждение,\nвдоль\nпо СП, Н",
    "Охлаждение,\nпоперек\nпо СП, Н",
    "Нагрев,\nвдоль\nпо СНиП, Н",
    "Нагрев,\nпоперек\nпо СНиП, Н",
    "Охлаждение,\nвдоль\nпо СНиП, Н",
    "Охлаждение,\nпоперек\nпо СНиП, Н",
};

constexpr std::array<std::string_view, 8> kTotalHeaders = {
    "Тип опоры", "Количество", "ΣV по СП, Н", "ΣV по СНиП, Н", "ΣH вдоль по СП, Н",
    "ΣH вдоль по СНиП, Н", "ΣH поперек по СП, Н", "ΣH поперек по СНиП, Н",
};

std::string OneLine(std::string_view header)
{
    std::string line(header);
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

std::string_view ScheduleHeader(ScheduleColumn column)
{
    return kScheduleHeaders[static_cast<std::size_t>(column)];
}

std::string ScheduleCell(const ScheduleRow& row, ScheduleColumn column, std::string_view separator)
{
    const auto number = [separator](double value) { return FormatFixed3(value, separator); };
    const auto load = [&](RuleSet rules, double ScheduleLoads::*field) -> std::string {
        const std::optional<ScheduleLoads>& loads = row.Of(rules);
        return loads ? number((*loads).*field) : std::string();
    };
    const auto fixed = [&](RuleSet rules, bool heating, bool along) -> std::string {
        const std::optional<ScheduleLoads>& loads = row.Of(rules);
        if (!loads || !loads->Fixed) {
            return {};
        }
        const HorizontalForce& force = heating ? loads->Fixed->Heating : loads->Fixed->Cooling;
        return number(along ? force.Along : force.Across);
    };
    switch (column) {
    case ScheduleColumn::No:
        return std::to_string(row.No);
    case ScheduleColumn::Kind:
        return std::string(ScheduleKindName(row.Kind));
    case ScheduleColumn::Section:
        return row.Shared ? std::to_string(row.Section) + "–" + std::to_string(row.Section + 1)
                          : std::to_string(row.Section + 1);
    case ScheduleColumn::Leg:
        return row.Corner ? std::to_string(row.Leg + 1) + "–" + std::to_string(row.Leg + 2)
                          : std::to_string(row.Leg + 1);
    case ScheduleColumn::Chainage:
        return number(row.Chainage);
    case ScheduleColumn::X:
        return number(row.X);
    case ScheduleColumn::Y:
        return number(row.Y);
    case ScheduleColumn::VerticalSP:
        return load(RuleSet::SP, &ScheduleLoads::Vertical);
    case ScheduleColumn::VerticalSNiP:
        return load(RuleSet::SNiP, &ScheduleLoads::Vertical);
    case ScheduleColumn::AlongSP:
        return load(RuleSet::SP, &ScheduleLoads::Along);
    case ScheduleColumn::AlongSNiP:
        return load(RuleSet::SNiP, &ScheduleLoads::Along);
    case ScheduleColumn::AcrossSP:
        return load(RuleSet::SP, &ScheduleLoads::Across);
    case ScheduleColumn::AcrossSNiP:
        return load(RuleSet::SNiP, &ScheduleLoads::Across);
    case ScheduleColumn::HeatingAlongSP:
        return fixed(RuleSet::SP, true, true);
    case ScheduleColumn::HeatingAcrossSP:
        return fixed(RuleSet::SP, true, false);
    case ScheduleColumn::CoolingAlongSP:
        return fixed(RuleSet::SP, false, true);
    case ScheduleColumn::CoolingAcrossSP:
        return fixed(RuleSet::SP, false, false);
    case ScheduleColumn::HeatingAlongSNiP:
        return fixed(RuleSet::SNiP, true, true);
    case ScheduleColumn::HeatingAcrossSNiP:
        return fixed(RuleSet::SNiP, true, false);
    case ScheduleColumn::CoolingAlongSNiP:
        return fixed(RuleSet::SNiP, false, true);
    case ScheduleColumn::CoolingAcrossSNiP:
        return fixed(RuleSet::SNiP, false, false);
    }
    return {};
}

std::vector<std::string> ScheduleDescription(const RouteSchedule& schedule, std::string_view separator)
{
    std::vector<std::string> lines;
    lines.push_back("Опоры расставлены по " + std::string(RuleSetName(schedule.PlacementRules)) +
                    ": каждое плечо разбито на наименьшее число равных пролетов, при котором "
                    "пролет не больше определяющего пролета балки с таким числом пролетов (где "
                    "для участка задан шаг опор — и не больше шага); на каждом углу поворота — "
                    "скользящая опора. Длина трассы по осям плеч " +
                    FormatFixed3(schedule.Length, separator) + " м.");
    lines.push_back("Вертикальная нагрузка V — коэффициент неразрезной балки места опоры × q × "
                    "пролет (для промежуточной опоры — среднее двух соседних пролетов). Вдоль "
                    "трубы — сила трения опоры из расчета компенсации участка с этими же опорами, "
                    "большая из нагрева и охлаждения (не больше μ·V" +
                    (schedule.Friction ? " при μ = " + FormatGeneral(*schedule.Friction, separator)
                                       : std::string("; коэффициент трения не задан: 0")) +
                    "); поперек трубы — ветер на пролет по тем же коэффициентам, сила трения "
                    "поперек плеча и у направляющей — ее сила из того же расчета.");
    lines.push_back(std::string(SharedFixedSupportRule()));
    return lines;
}

std::span<const std::string_view> ScheduleTotalHeaders()
{
    return kTotalHeaders;
}

std::vector<std::vector<std::string>> ScheduleTotalCells(const RouteSchedule& schedule,
                                                         std::string_view separator)
{
    std::vector<std::vector<std::string>> rows;
    for (const ScheduleTotal& total : schedule.Totals) {
        if (total.Count == 0) {
            continue;
        }
        rows.push_back({std::string(ScheduleKindName(total.Kind)), std::to_string(total.Count),
                        FormatFixed3(total.Vertical[0], separator),
                        FormatFixed3(total.Vertical[1], separator),
                        FormatFixed3(total.Along[0], separator), FormatFixed3(total.Along[1], separator),
                        FormatFixed3(total.Across[0], separator),
                        FormatFixed3(total.Across[1], separator)});
    }
    return rows;
}

std::string ScheduleCsv(const RouteSchedule& schedule, std::string_view separator)
{
    std::string csv;
    AppendCsvPreamble(csv, std::string(kScheduleTitle) + " надземного газопровода",
                      ScheduleDescription(schedule, separator));
    std::vector<std::string> fields;
    for (const std::string_view header : kScheduleHeaders) {
        fields.push_back(OneLine(header));
    }
    AppendCsvLine(csv, fields);
    for (const ScheduleRow& row : schedule.Rows) {
        fields.clear();
        for (std::size_t c = 0; c < kScheduleColumns; ++c) {
            fields.push_back(ScheduleCell(row, static_cast<ScheduleColumn>(c), separator));
        }
        AppendCsvLine(csv, fields);
    }
    csv += "\r\n";
    fields.assign(kTotalHeaders.begin(), kTotalHeaders.end());
    AppendCsvLine(csv, fields);
    for (const std::vector<std::string>& row : ScheduleTotalCells(schedule, separator)) {
        AppendCsvLine(csv, row);
    }
    for (const std::string& warning : schedule.Warnings) {
        const std::string line = "Внимание: " + warning;
        AppendCsvLine(csv, std::span<const std::string>(&line, 1));
    }
    return csv;
}

ScheduleOutcome ScheduleOfRun(const CalculationOutcome& outcome,
                              std::span<const CompensationResult> sections,
                              const RouteScheduleRequest& request, std::string_view separator)
{
    if (outcome.Kind != OutcomeKind::Completed || !outcome.Input || !outcome.Loads.WindLoad) {
        ScheduleOutcome refused;
        refused.Message = "Для ведомости опор нужен выполненный расчет пролета";
        return refused;
    }
    // Each item is run once, whichever set asks first.
    const auto spans = std::make_shared<GoverningSpansByItem>(outcome, separator);
    const auto set = [&](RuleSet rules, std::optional<double> q) -> std::optional<ScheduleRuleLoads> {
        if (!q) {
            return std::nullopt;
        }
        return ScheduleRuleLoads{*q, *outcome.Loads.WindLoad,
                                 [spans, rules](int item) { return spans->Span(rules, item); }};
    };
    ScheduleInput input;
    input.Sections = sections;
    input.PlacementRules = request.PlacementRules;
    input.SP = set(RuleSet::SP, outcome.Loads.VerticalLoadSP);
    input.SNiP = set(RuleSet::SNiP, outcome.Loads.TotalLoadSNiP);
    input.Friction = request.Friction;
    input.Edits = request.Edits;
    return BuildRouteSchedule(input);
}

}  // namespace korvelin
