#include "korvelin/SupportPlacement.h"

#include "SectionFrame.h"
#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/SupportLoads.h"

#include <algorithm>
#include <cmath>

namespace korvelin {
namespace {

// Two places closer than this are one place, m (the tolerance of the division into spans).
constexpr double kSamePlace = 0.001;
constexpr long double kTolerance = 0.001L;

std::string PlaceText(std::size_t section, std::size_t leg, double distance)
{
    return "участок " + std::to_string(section + 1) + ", плечо " + std::to_string(leg + 1) + ", " +
           FormatGeneral(distance, ",") + " м";
}

// The count of spans of a leg: by the governing spans, by the typed step, the larger; a count the
// step raised goes on up while its span is above the governing span of its own count. None with
// `problem` set when the governing spans cannot divide the leg.
std::optional<int> SpansOfLeg(double length, const GoverningSpanOfItem& governingSpan,
                              std::optional<double> step)
{
    int spans = 1;
    if (governingSpan) {
        const std::optional<RouteSupports> division = DivideIntoSpans(length, governingSpan);
        if (!division) {
            return std::nullopt;
        }
        spans = division->Spans;
    }
    if (step && *step > 0) {
        const int byStep = CountSupports(length, *step).Spans;
        if (byStep > spans) {
            spans = byStep;
            while (governingSpan) {
                const std::optional<double> span = governingSpan(SpanCountIndexOf(spans));
                if (!span || !(*span > 0) ||
                    static_cast<long double>(length) - static_cast<long double>(spans) * *span <=
                        kTolerance) {
                    break;
                }
                ++spans;
            }
        }
    }
    return spans;
}

// The designer's edits of the section's places; the message of the first that does not apply.
std::string ApplyEdits(std::vector<SupportPlace>& places, const CompensationSection& section,
                       std::span<const SupportEdit> edits, std::size_t sectionIndex)
{
    for (const SupportEdit& edit : edits) {
        if (edit.Section != sectionIndex) {
            continue;
        }
        const auto found = std::find_if(places.begin(), places.end(), [&](const SupportPlace& p) {
            return p.Leg == edit.Leg && std::fabs(p.Distance - edit.Distance) <= kSamePlace;
        });
        const std::string where = PlaceText(edit.Section, edit.Leg, edit.Distance);
        if (found == places.end()) {
            return "Правка опоры: на месте «" + where + "» нет скользящей опоры или направляющей";
        }
        switch (edit.Action) {
        case SupportEditAction::Remove:
            places.erase(found);
            break;
        case SupportEditAction::Guide:
            if (found->Corner) {
                return "Правка опоры: на угол поворота («" + where + "») направляющая не ставится";
            }
            found->Kind = SupportKind::Guide;
            found->Edited = true;
            break;
        case SupportEditAction::Move: {
            if (found->Corner) {
                return "Правка опоры: опора на углу поворота («" + where +
                       "») не переносится, ее можно только удалить";
            }
            const double length = section.Legs[edit.Leg];
            if (!(edit.NewDistance > kSamePlace && edit.NewDistance < length - kSamePlace)) {
                return "Правка опоры «" + where + "»: новое место " +
                       FormatGeneral(edit.NewDistance, ",") + " м не внутри плеча длиной " +
                       FormatGeneral(length, ",") + " м";
            }
            const bool taken = std::any_of(places.begin(), places.end(), [&](const SupportPlace& p) {
                return &p != &*found && p.Leg == edit.Leg &&
                       std::fabs(p.Distance - edit.NewDistance) <= kSamePlace;
            });
            if (taken) {
                return "Правка опоры «" + where + "»: на месте " +
                       FormatGeneral(edit.NewDistance, ",") + " м уже стоит опора";
            }
            found->Distance = edit.NewDistance;
            found->Edited = true;
            break;
        }
        }
    }
    return {};
}

}  // namespace

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


SectionSupports PlaceSupports(const CompensationSection& section,
                              const GoverningSpanOfItem& governingSpan, std::optional<RuleSet> rules,
                              std::span<const SupportEdit> edits, std::size_t sectionIndex)
{
    SectionSupports placed;
    const std::size_t legCount = section.Legs.size();
    const bool sliding = static_cast<bool>(governingSpan) || section.SupportStep.has_value();
    placed.Rules = governingSpan ? rules : std::nullopt;
    std::vector<SupportPlace>& places = placed.Places;
    for (std::size_t k = 0; k < legCount && sliding; ++k) {
        const long double length = section.Legs[k];
        std::optional<int> spans = SpansOfLeg(section.Legs[k], governingSpan, section.SupportStep);
        if (!spans) {
            if (placed.Problem.empty()) {
                placed.Problem = "Плечо " + std::to_string(k + 1) + " участка «" + section.Name +
                                 "» не делится на пролеты: по " +
                                 std::string(rules ? RuleSetName(*rules) : "своду правил") +
                                 " нет определяющего пролета для такого числа пролетов";
            }
            spans = SpansOfLeg(section.Legs[k], {}, section.SupportStep);
        }
        for (int j = 1; j < *spans; ++j) {
            SupportPlace place;
            place.Leg = k;
            place.Distance = static_cast<double>(length * j / *spans);
            places.push_back(place);
        }
        if (k + 1 < legCount) {
            // The corner's own support, at the middle of its bend.
            SupportPlace corner;
            corner.Leg = k;
            corner.Distance = section.Legs[k];
            corner.Corner = true;
            places.push_back(corner);
        }
    }
    for (const GuidePlace& guide : section.Guides) {
        // A guide within a millimetre of a sliding support takes its place.
        const auto same = std::find_if(places.begin(), places.end(), [&guide](const SupportPlace& p) {
            return p.Leg == guide.Leg && !p.Corner && std::fabs(p.Distance - guide.Distance) <= kSamePlace;
        });
        if (same != places.end()) {
            same->Kind = SupportKind::Guide;
            same->Distance = guide.Distance;
        } else {
            SupportPlace place;
            place.Kind = SupportKind::Guide;
            place.Leg = guide.Leg;
            place.Distance = guide.Distance;
            places.push_back(place);
        }
    }
    {
        std::vector<SupportPlace> edited = places;
        if (std::string problem = ApplyEdits(edited, section, edits, sectionIndex); !problem.empty()) {
            if (placed.Problem.empty()) {
                placed.Problem = std::move(problem);
            }
        } else {
            places = std::move(edited);
        }
    }

    std::vector<long double> legStarts{0};
    for (const double length : section.Legs) {
        legStarts.push_back(legStarts.back() + length);
    }
    const long double total = legStarts.back();
    for (SupportPlace& place : places) {
        place.Chainage = static_cast<double>(legStarts[place.Leg] + place.Distance);
    }
    std::stable_sort(places.begin(), places.end(), [](const SupportPlace& a, const SupportPlace& b) {
        return a.Chainage < b.Chainage;
    });

    // The stations A, the places, B and the ends of the beams among them.
    const std::size_t count = places.size() + 2;
    std::vector<long double> at(count);
    std::vector<bool> end(count, false);
    at.front() = 0;
    at.back() = total;
    end.front() = true;
    end.back() = true;
    for (std::size_t j = 0; j < places.size(); ++j) {
        at[j + 1] = places[j].Chainage;
        end[j + 1] = places[j].Corner;
    }
    std::vector<long double> share(count, 0);
    for (std::size_t first = 0; first + 1 < count;) {
        std::size_t last = first + 1;
        while (!end[last]) {
            ++last;
        }
        const int spans = static_cast<int>(last - first);
        const int item = SpanCountIndexOf(spans);
        const BeamFactors factors = ContinuousBeamFactors(item);
        const long double inner = factors.Intermediate.value_or(factors.End);
        BeamDivision beam;
        beam.Leg = first == 0 ? 0 : places[first - 1].Leg + 1;
        beam.Length = static_cast<double>(at[last] - at[first]);
        beam.Spans = spans;
        if (governingSpan) {
            beam.GoverningSpan = governingSpan(item).value_or(0);
        }
        for (std::size_t i = first; i < last; ++i) {
            const double span = static_cast<double>(at[i + 1] - at[i]);
            if (span > beam.LongestSpan) {
                beam.LongestSpan = span;
                beam.LongestAfter = i;
            }
        }
        placed.Beams.push_back(beam);
        share[first] += factors.End * (at[first + 1] - at[first]);
        share[last] += factors.End * (at[last] - at[last - 1]);
        for (std::size_t i = first + 1; i < last; ++i) {
            share[i] += inner * (at[i + 1] - at[i - 1]) / 2;
        }
        first = last;
    }
    placed.LoadLengthA = static_cast<double>(share.front());
    placed.LoadLengthB = static_cast<double>(share.back());
    const long double radius = section.BendRadius;
    for (std::size_t j = 0; j < places.size(); ++j) {
        SupportPlace& place = places[j];
        place.LoadLength = static_cast<double>(share[j + 1]);
        place.VerticalLoad = place.LoadLength;
        place.Span = static_cast<double>((at[j + 2] - at[j]) / 2);
        const frame::Point p = frame::PointAt(section, place.Chainage);
        place.X = static_cast<double>(p.X) + 0.0;
        place.Y = static_cast<double>(p.Y) + 0.0;
        place.OnBend = false;
        if (radius > 0) {
            for (std::size_t k = 1; k < legCount; ++k) {
                if (std::fabs(place.Chainage - legStarts[k]) < radius) {
                    place.OnBend = true;
                }
            }
        }
    }
    return placed;
}

std::vector<SupportPlace> LoadedSupports(std::vector<SupportPlace> places, double verticalLoad)
{
    for (SupportPlace& place : places) {
        place.VerticalLoad = static_cast<double>(static_cast<long double>(verticalLoad) * place.LoadLength);
    }
    return places;
}

bool SamePlaces(std::span<const SupportPlace> a, std::span<const SupportPlace> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SupportPlace& p, const SupportPlace& q) {
        return p.Kind == q.Kind && p.Leg == q.Leg && p.Distance == q.Distance && p.Corner == q.Corner &&
               p.LoadLength == q.LoadLength;
    });
}

}  // namespace korvelin
