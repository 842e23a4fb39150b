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

// A guide's force across its leg from the section's solution (the larger of heating and cooling,
// the set's own solution first); 0 where the section has none at that place.
double GuideForceAt(const CompensationResult& result, RuleSet rules, std::size_t leg, double distance)
{
    const std::optional<RuleSetCompensation>& set = rules == RuleSet::SP ? result.SP : result.SNiP;
    double largest = 0;
    const auto look = [&](const CompensationCase& c) {
        for (const GuideForce& guide : c.Guides) {
            if (guide.Leg == leg && std::fabs(guide.Distance - distance) <= kSamePlace) {
                largest = std::max(largest, std::fabs(guide.Force));
            }
        }
    };
    if (set && !(set->HeatingCase.Guides.empty() && set->CoolingCase.Guides.empty())) {
        look(set->HeatingCase);
        look(set->CoolingCase);
    } else {
        look(result.Heating);
        look(result.Cooling);
    }
    return largest;
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

SupportEditsReading ReadSupportEdits(std::string_view text, std::string_view decimalSeparator)
{
    SupportEditsReading reading;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string item(text.substr(start, end - start));
        start = end + 1;
        const auto first = item.find_first_not_of(" \t");
        if (first == std::string::npos) {
            continue;
        }
        item = item.substr(first, item.find_last_not_of(" \t") - first + 1);
        const auto fail = [&reading, &item]() {
            reading.Edits.clear();
            reading.Error = "Правка опоры «" + item +
                            "» не читается: нужно «участок:плечо:расстояние» и «-> новое "
                            "расстояние», «x» (удалить) или «н» (направляющая)";
            return reading;
        };
        SupportEdit edit;
        std::string rest;
        if (const auto arrow = item.find("->"); arrow != std::string::npos) {
            edit.Action = SupportEditAction::Move;
            long double to = 0;
            if (!ReadNumber(std::string_view(item).substr(arrow + 2), decimalSeparator, to)) {
                return fail();
            }
            edit.NewDistance = static_cast<double>(to);
            rest = item.substr(0, arrow);
        } else {
            const auto blank = item.find_last_of(" \t");
            if (blank == std::string::npos) {
                return fail();
            }
            const std::string word = item.substr(blank + 1);
            if (word == "x" || word == "X" || word == "х" || word == "Х") {
                edit.Action = SupportEditAction::Remove;
            } else if (word == "н" || word == "Н" || word == "g" || word == "G") {
                edit.Action = SupportEditAction::Guide;
            } else {
                return fail();
            }
            rest = item.substr(0, blank);
        }
        const auto c1 = rest.find(':');
        const auto c2 = c1 == std::string::npos ? c1 : rest.find(':', c1 + 1);
        long double section = 0;
        long double leg = 0;
        long double distance = 0;
        if (c2 == std::string::npos ||
            !ReadNumber(std::string_view(rest).substr(0, c1), decimalSeparator, section) ||
            !ReadNumber(std::string_view(rest).substr(c1 + 1, c2 - c1 - 1), decimalSeparator, leg) ||
            !ReadNumber(std::string_view(rest).substr(c2 + 1), decimalSeparator, distance) ||
            section < 1 || leg < 1 || section != std::floor(section) || leg != std::floor(leg) ||
            section > 1000 || leg > 1000) {
            return fail();
        }
        edit.Section = static_cast<std::size_t>(section) - 1;
        edit.Leg = static_cast<std::size_t>(leg) - 1;
        edit.Distance = static_cast<double>(distance);
        reading.Edits.push_back(edit);
    }
    return reading;
}

std::string SupportEditsText(std::span<const SupportEdit> edits, std::string_view decimalSeparator)
{
    std::string text;
    for (const SupportEdit& edit : edits) {
        if (!text.empty()) {
            text += "; ";
        }
        text += std::to_string(edit.Section + 1) + ':' + std::to_string(edit.Leg + 1) + ':' +
                FormatGeneral(edit.Distance, decimalSeparator);
        switch (edit.Action) {
        case SupportEditAction::Move:
            text += " -> " + FormatGeneral(edit.NewDistance, decimalSeparator);
            break;
        case SupportEditAction::Remove:
            text += " x";
            break;
        case SupportEditAction::Guide:
            text += " н";
            break;
        }
    }
    return text;
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

    // The supports each leg gets by the placement rules, the corners' and the typed guides.
    std::vector<Place> places;
    for (std::size_t k = 0; k < sectionCount; ++k) {
        const CompensationSection& section = input.Sections[k].Section;
        long double legStart = sectionChainage[k];
        Place fixed;
        fixed.Kind = ScheduleKind::Fixed;
        fixed.Section = k;
        fixed.Shared = k > 0;
        fixed.Chainage = static_cast<double>(legStart);
        places.push_back(fixed);
        for (std::size_t leg = 0; leg < section.Legs.size(); ++leg) {
            const double length = section.Legs[leg];
            const std::optional<RouteSupports> division =
                DivideIntoSpans(length, placing->GoverningSpan);
            if (!division) {
                return refuse("Плечо " + std::to_string(leg + 1) + " участка «" + section.Name +
                              "» не делится на пролеты: по " +
                              std::string(RuleSetName(input.PlacementRules)) +
                              " нет определяющего пролета для такого числа пролетов");
            }
            for (int i = 1; i < division->Spans; ++i) {
                Place place;
                place.Section = k;
                place.Leg = leg;
                place.Distance = static_cast<double>(static_cast<long double>(length) * i /
                                                     division->Spans);
                places.push_back(place);
            }
            for (const GuidePlace& guide : section.Guides) {
                if (guide.Leg != leg) {
                    continue;
                }
                const auto same = std::find_if(places.begin(), places.end(), [&](const Place& p) {
                    return p.Section == k && p.Leg == leg && p.Kind != ScheduleKind::Fixed &&
                           std::fabs(p.Distance - guide.Distance) <= kSamePlace;
                });
                if (same != places.end()) {
                    same->Kind = ScheduleKind::Guide;
                } else {
                    Place place;
                    place.Kind = ScheduleKind::Guide;
                    place.Section = k;
                    place.Leg = leg;
                    place.Distance = guide.Distance;
                    places.push_back(place);
                }
            }
            if (leg + 1 < section.Legs.size()) {
                Place corner;
                corner.Section = k;
                corner.Leg = leg;
                corner.Distance = length;
                corner.Corner = true;
                places.push_back(corner);
            }
        }
    }
    {
        Place last;
        last.Kind = ScheduleKind::Fixed;
        last.Section = sectionCount - 1;
        last.Leg = input.Sections.back().Section.Legs.size() - 1;
        last.Distance = input.Sections.back().Section.Legs.back();
        places.push_back(last);
    }

    // The designer's edits.
    for (const SupportEdit& edit : input.Edits) {
        const auto found = std::find_if(places.begin(), places.end(), [&](const Place& p) {
            return p.Kind != ScheduleKind::Fixed && p.Section == edit.Section && p.Leg == edit.Leg &&
                   std::fabs(p.Distance - edit.Distance) <= kSamePlace;
        });
        const std::string where = PlaceText(edit.Section, edit.Leg, edit.Distance);
        if (found == places.end()) {
            return refuse("Правка опоры: на месте «" + where +
                          "» нет скользящей опоры или направляющей");
        }
        switch (edit.Action) {
        case SupportEditAction::Remove:
            places.erase(found);
            break;
        case SupportEditAction::Guide:
            if (found->Corner) {
                return refuse("Правка опоры: на угол поворота («" + where +
                              "») направляющая не ставится");
            }
            found->Kind = ScheduleKind::Guide;
            found->Edited = true;
            break;
        case SupportEditAction::Move: {
            if (found->Corner) {
                return refuse("Правка опоры: опора на углу поворота («" + where +
                              "») не переносится, ее можно только удалить");
            }
            const double length = input.Sections[edit.Section].Section.Legs[edit.Leg];
            if (!(edit.NewDistance > kSamePlace && edit.NewDistance < length - kSamePlace)) {
                return refuse("Правка опоры «" + where + "»: новое место " +
                              FormatGeneral(edit.NewDistance, ",") + " м не внутри плеча длиной " +
                              FormatGeneral(length, ",") + " м");
            }
            const bool taken = std::any_of(places.begin(), places.end(), [&](const Place& p) {
                return &p != &*found && p.Section == edit.Section && p.Leg == edit.Leg &&
                       std::fabs(p.Distance - edit.NewDistance) <= kSamePlace;
            });
            if (taken) {
                return refuse("Правка опоры «" + where + "»: на месте " +
                              FormatGeneral(edit.NewDistance, ",") + " м уже стоит опора");
            }
            found->Distance = edit.NewDistance;
            found->Edited = true;
            break;
        }
        }
    }

    for (Place& place : places) {
        if (place.Kind == ScheduleKind::Fixed && place.Shared) {
            continue;
        }
        if (place.Kind == ScheduleKind::Fixed && place.Section == 0 && place.Distance == 0) {
            continue;
        }
        long double along = sectionChainage[place.Section];
        const CompensationSection& section = input.Sections[place.Section].Section;
        for (std::size_t leg = 0; leg < place.Leg; ++leg) {
            along += section.Legs[leg];
        }
        place.Chainage = static_cast<double>(along + place.Distance);
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.Chainage < b.Chainage; });

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
        // The point of the pipe's axis: on a leg the straight axis; at a corner the middle of the
        // bend's arc, R·(1 − 1/√2) from the intersection of the axes towards the inside.
        const std::vector<SectionPoint>& points = nodes[place.Section];
        const std::vector<LegDirection>& dirs = directions[place.Section];
        const double radius = input.Sections[place.Section].Section.BendRadius;
        long double px = points[place.Leg].X + static_cast<long double>(dirs[place.Leg].Cos) * place.Distance;
        long double py = points[place.Leg].Y + static_cast<long double>(dirs[place.Leg].Sin) * place.Distance;
        if (place.Kind == ScheduleKind::Fixed && place.Shared) {
            px = 0;
            py = 0;
        } else if (place.Corner && radius > 0) {
            const LegDirection& in = dirs[place.Leg];
            const LegDirection& out = dirs[place.Leg + 1];
            const long double inset = radius * (1 - 1 / std::sqrt(2.0L));
            px += (out.Cos - in.Cos) * inset;
            py += (out.Sin - in.Sin) * inset;
        }
        const auto [rx, ry] = Rotate(turns[place.Section], px, py);
        row.X = static_cast<double>(origins[place.Section].first + rx);
        row.Y = static_cast<double>(origins[place.Section].second + ry);
        schedule.Rows.push_back(std::move(row));
    }

    // The beams: from a fixed support or a corner's support to the next of them. A leg is one
    // beam; a corner whose support the designer removed joins its two legs into one.
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].Kind == ScheduleKind::Fixed || places[i].Corner) {
            ends.push_back(i);
        }
    }
    struct Share {
        double Factor = 0;  // × q
        long double Length = 0;
    };
    std::vector<std::vector<Share>> shares(places.size());
    for (std::size_t b = 0; b + 1 < ends.size(); ++b) {
        const std::size_t first = ends[b];
        const std::size_t last = ends[b + 1];
        const int spans = static_cast<int>(last - first);
        const int item = SpanCountIndexOf(spans);
        const BeamFactors factors = ContinuousBeamFactors(item);
        LegDivision division;
        division.Section = places[first].Section;
        division.Leg = places[first].Corner ? places[first].Leg + 1 : 0;
        division.Length = static_cast<double>(static_cast<long double>(places[last].Chainage) -
                                              places[first].Chainage);
        division.Spans = spans;
        division.GoverningSpan = placing->GoverningSpan(item).value_or(0);
        for (std::size_t i = first; i < last; ++i) {
            division.LongestSpan = std::max(division.LongestSpan, schedule.Rows[i].SpanAfter);
        }
        if (division.LongestSpan > division.GoverningSpan + kSamePlace) {
            schedule.Warnings.push_back(
                "пролет " + FormatFixed3(division.LongestSpan, ",") + " м после опоры № " +
                std::to_string(first + 1) + " длиннее определяющего пролета " +
                FormatFixed3(division.GoverningSpan, ",") + " м балки из " + std::to_string(spans) +
                " пролетов по " + std::string(RuleSetName(input.PlacementRules)));
        }
        schedule.Legs.push_back(division);
        for (std::size_t i = first; i <= last; ++i) {
            if (i == first) {
                shares[i].push_back({factors.End, schedule.Rows[i].SpanAfter});
            } else if (i == last) {
                shares[i].push_back({factors.End, schedule.Rows[i].SpanBefore});
            } else {
                shares[i].push_back({factors.Intermediate.value_or(factors.End),
                                     (static_cast<long double>(schedule.Rows[i].SpanBefore) +
                                      schedule.Rows[i].SpanAfter) /
                                         2});
            }
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
            long double vertical = 0;
            long double wind = 0;
            for (const Share& share : shares[i]) {
                vertical += share.Factor * static_cast<long double>(set->VerticalLoad) * share.Length;
                wind += share.Factor * static_cast<long double>(set->WindLoad) * share.Length;
            }
            loads.Vertical = static_cast<double>(vertical);
            if (row.Kind == ScheduleKind::Fixed) {
                FixedSupportForces forces;
                forces.Heating = FixedForce(meeting, rules, true, along);
                forces.Cooling = FixedForce(meeting, rules, false, along);
                loads.Along = std::max(forces.Heating.Along, forces.Cooling.Along);
                loads.Across = std::max(forces.Heating.Across, forces.Cooling.Across);
                loads.Fixed = forces;
            } else {
                loads.Along = input.Friction
                                  ? static_cast<double>(static_cast<long double>(*input.Friction) *
                                                        loads.Vertical)
                                  : 0;
                long double across = wind;
                if (row.Kind == ScheduleKind::Guide) {
                    across += GuideForceAt(input.Sections[row.Section], rules, row.Leg, row.Distance);
                }
                loads.Across = static_cast<double>(across);
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
                    "пролет не больше определяющего пролета балки с таким числом пролетов; на "
                    "каждом углу поворота — скользящая опора. Длина трассы по осям плеч " +
                    FormatFixed3(schedule.Length, separator) + " м.");
    lines.push_back("Вертикальная нагрузка V — коэффициент неразрезной балки места опоры × q × "
                    "пролет (для промежуточной опоры — среднее двух соседних пролетов); поперек "
                    "трубы — ветер на пролет по тем же коэффициентам, у направляющей — и ее сила; "
                    "вдоль трубы — трение μ·V" +
                    (schedule.Friction ? " при μ = " + FormatGeneral(*schedule.Friction, separator)
                                       : std::string(" (коэффициент трения не задан: 0)")) +
                    ".");
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

std::optional<RuleSet> ReadPlacementRules(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (lower == "sp") {
        return RuleSet::SP;
    }
    if (lower == "snip") {
        return RuleSet::SNiP;
    }
    return std::nullopt;
}

std::string_view PlacementRulesKey(RuleSet rules)
{
    return rules == RuleSet::SP ? "sp" : "snip";
}

}  // namespace korvelin
