#include "korvelin/CompensationSection.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"

#include <cmath>

namespace korvelin {
namespace {

// The first letter of a Russian text in capitals: the letters а…я of UTF-8.
std::string Capitalized(std::string text)
{
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xD0 &&
        static_cast<unsigned char>(text[1]) >= 0xB0 && static_cast<unsigned char>(text[1]) <= 0xBF) {
        text[1] = static_cast<char>(static_cast<unsigned char>(text[1]) - 0x20);
    } else if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xD1 &&
               static_cast<unsigned char>(text[1]) >= 0x80 && static_cast<unsigned char>(text[1]) <= 0x8F) {
        text[0] = static_cast<char>(0xD0);
        text[1] = static_cast<char>(static_cast<unsigned char>(text[1]) + 0x20);
    }
    return text;
}

// A message about a section: "Участок «Узел 3»: длина плеча 2 …", or without a name the sentence
// alone, "Длина плеча 2 …".
std::string About(std::string_view name, std::string body)
{
    return name.empty() ? Capitalized(std::move(body)) : "Участок «" + std::string(name) + "»: " + body;
}

std::string WithText(std::string message, std::string_view text)
{
    return message + " (введено «" + std::string(text) + "»)";
}

SectionReading Refused(CompensationRefusal refusal, std::string message)
{
    SectionReading reading;
    reading.Refusal = refusal;
    reading.Message = std::move(message);
    return reading;
}

std::optional<TurnSide> ReadTurn(std::string_view word)
{
    if (word == "Л" || word == "л" || word == "L" || word == "l") {
        return TurnSide::Left;
    }
    if (word == "П" || word == "п" || word == "R" || word == "r") {
        return TurnSide::Right;
    }
    return std::nullopt;
}

// Reads the length of leg `index` (counted from 1) into the section, or says why not.
std::optional<SectionReading> ReadLeg(std::string_view text, std::string_view decimalSeparator,
                                      std::size_t index, std::string_view name,
                                      CompensationSection& section)
{
    const std::string leg = "длина плеча " + std::to_string(index);
    const std::optional<double> length = ParseNumberToDouble(text, decimalSeparator);
    if (!length || std::isnan(*length)) {
        return Refused(CompensationRefusal::LengthNotANumber,
                       WithText(About(name, leg + " должна быть числом"), text));
    }
    if (*length <= 0) {
        return Refused(CompensationRefusal::LengthNotPositive,
                       WithText(About(name, leg + " должна быть больше нуля"), text));
    }
    if (*length > kMaxLegLength) {
        return Refused(CompensationRefusal::LengthTooLarge,
                       WithText(About(name, leg + " должна быть не больше 10 000 м"), text));
    }
    section.Legs.push_back(*length);
    return std::nullopt;
}

std::string Metres(double value)
{
    return FormatGeneral(value, ",") + " м";
}

// The bends and the guides against the legs: every leg holds the tangent lengths R of the bends at
// its ends, every guide stands inside its leg and on its straight part.
std::optional<SectionReading> CheckBendsAndGuides(const CompensationSection& section)
{
    const std::size_t count = section.Legs.size();
    const double radius = section.BendRadius;
    if (std::isnan(radius)) {
        return Refused(CompensationRefusal::RadiusNotANumber,
                       About(section.Name, "радиус отводов должен быть числом"));
    }
    if (radius < 0) {
        return Refused(CompensationRefusal::RadiusNegative,
                       About(section.Name, "радиус отводов не может быть отрицательным"));
    }
    if (radius * 1000 > kMaxBendRadius) {
        return Refused(CompensationRefusal::RadiusTooLarge,
                       About(section.Name, "радиус отводов должен быть не больше 100 000 мм"));
    }
    if (radius > 0) {
        for (std::size_t k = 0; k < count; ++k) {
            const int bends = (k > 0 ? 1 : 0) + (k + 1 < count ? 1 : 0);
            const long double tangents = static_cast<long double>(radius) * bends;
            if (bends > 0 && tangents > section.Legs[k]) {
                return Refused(
                    CompensationRefusal::RadiusDoesNotFit,
                    About(section.Name,
                          "отводы радиусом " + FormatGeneral(radius * 1000, ",") +
                              " мм не помещаются на плече " + std::to_string(k + 1) + ": " +
                              (bends == 2 ? "две касательные отвода по " : "касательная отвода ") +
                              Metres(radius) + " длиннее плеча " + Metres(section.Legs[k])));
            }
        }
    }
    if (section.SupportStep) {
        const double step = *section.SupportStep;
        if (std::isnan(step)) {
            return Refused(CompensationRefusal::StepNotANumber,
                           About(section.Name, "шаг скользящих опор должен быть числом"));
        }
        if (!(step > 0)) {
            return Refused(CompensationRefusal::StepNotPositive,
                           About(section.Name, "шаг скользящих опор должен быть больше нуля"));
        }
        if (step > kMaxSupportStep) {
            return Refused(CompensationRefusal::StepTooLarge,
                           About(section.Name, "шаг скользящих опор должен быть не больше 1000 м"));
        }
    }
    for (const GuidePlace& guide : section.Guides) {
        const std::string named = "направляющая опора " + std::to_string(guide.Leg + 1) + ":" +
                                  FormatGeneral(guide.Distance, ",");
        if (guide.Leg >= count) {
            return Refused(CompensationRefusal::GuideNoSuchLeg,
                           About(section.Name, named + " — на участке нет плеча " +
                                                   std::to_string(guide.Leg + 1)));
        }
        const double length = section.Legs[guide.Leg];
        if (!(guide.Distance > 0 && guide.Distance < length)) {
            return Refused(CompensationRefusal::GuideOffLeg,
                           About(section.Name, named + " — расстояние должно быть больше нуля и "
                                                       "меньше длины плеча " +
                                                       std::to_string(guide.Leg + 1) + ", " +
                                                       Metres(length)));
        }
        const bool onStartBend = guide.Leg > 0 && guide.Distance < radius;
        const bool onEndBend = guide.Leg + 1 < count && guide.Distance > length - radius;
        if (onStartBend || onEndBend) {
            return Refused(CompensationRefusal::GuideOnBend,
                           About(section.Name, named + " стоит на отводе: отвод занимает " +
                                                   Metres(radius) + " от " +
                                                   (onStartBend ? "начала" : "конца") + " плеча"));
        }
    }
    return std::nullopt;
}

// What makes a read section unfit beyond its single values: too many legs, an end on the start,
// bends that do not fit, a step or a guide out of place.
SectionReading Finish(CompensationSection section)
{
    if (section.Legs.size() > kMaxSectionLegs) {
        return Refused(CompensationRefusal::TooManyLegs,
                       About(section.Name, "плеч больше " + std::to_string(kMaxSectionLegs)));
    }
    const std::vector<SectionPoint> nodes = SectionNodes(section);
    // Within a tenth of a millimetre the two fixed supports stand in one point: the section closes
    // on itself and takes no movement.
    if (std::fabs(nodes.back().X) < 1e-4 && std::fabs(nodes.back().Y) < 1e-4) {
        return Refused(CompensationRefusal::EndAtStart,
                       About(section.Name, "конец участка совпадает с его началом, опоры А и Б "
                                           "оказались в одной точке"));
    }
    if (auto refused = CheckBendsAndGuides(section)) {
        return *refused;
    }
    SectionReading reading;
    reading.Section = std::move(section);
    return reading;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The radius (mm), the step (m) and the guides of the texts into the section, or why not.
std::optional<SectionReading> ReadSupportsTexts(const SectionTexts& texts,
                                                std::string_view decimalSeparator,
                                                CompensationSection& section)
{
    if (const std::string_view radius = Trimmed(texts.BendRadius); !radius.empty()) {
        const std::optional<double> value = ParseNumberToDouble(radius, decimalSeparator);
        if (!value || std::isnan(*value)) {
            return Refused(CompensationRefusal::RadiusNotANumber,
                           WithText(About(texts.Name, "радиус отводов должен быть числом"), radius));
        }
        if (*value < 0) {
            return Refused(CompensationRefusal::RadiusNegative,
                           WithText(About(texts.Name, "радиус отводов не может быть отрицательным"),
                                    radius));
        }
        if (*value > kMaxBendRadius) {
            return Refused(CompensationRefusal::RadiusTooLarge,
                           WithText(About(texts.Name, "радиус отводов должен быть не больше "
                                                      "100 000 мм"),
                                    radius));
        }
        section.BendRadius = static_cast<double>(static_cast<long double>(*value) / 1000) + 0.0;
    }
    if (const std::string_view step = Trimmed(texts.SupportStep); !step.empty()) {
        const std::optional<double> value = ParseNumberToDouble(step, decimalSeparator);
        if (!value || std::isnan(*value)) {
            return Refused(CompensationRefusal::StepNotANumber,
                           WithText(About(texts.Name, "шаг скользящих опор должен быть числом"), step));
        }
        if (!(*value > 0)) {
            return Refused(CompensationRefusal::StepNotPositive,
                           WithText(About(texts.Name, "шаг скользящих опор должен быть больше нуля"),
                                    step));
        }
        if (*value > kMaxSupportStep) {
            return Refused(CompensationRefusal::StepTooLarge,
                           WithText(About(texts.Name, "шаг скользящих опор должен быть не больше "
                                                      "1000 м"),
                                    step));
        }
        section.SupportStep = *value;
    }
    std::string_view rest = texts.Guides;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view item = Trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (item.empty()) {
            continue;
        }
        const std::size_t colon = item.find(':');
        const auto unreadable = [&] {
            return Refused(CompensationRefusal::GuideUnreadable,
                           WithText(About(texts.Name, "направляющая опора записывается как "
                                                      "ПЛЕЧО:РАССТОЯНИЕ, например «2:4»"),
                                    item));
        };
        if (colon == std::string_view::npos) {
            return unreadable();
        }
        const std::string_view legText = Trimmed(item.substr(0, colon));
        std::size_t leg = 0;
        if (legText.empty() || legText.size() > 4 ||
            legText.find_first_not_of("0123456789") != std::string_view::npos) {
            return unreadable();
        }
        for (const char c : legText) {
            leg = leg * 10 + static_cast<std::size_t>(c - '0');
        }
        const std::optional<double> distance =
            ParseNumberToDouble(Trimmed(item.substr(colon + 1)), decimalSeparator);
        if (!distance || std::isnan(*distance)) {
            return unreadable();
        }
        if (leg == 0 || leg > section.Legs.size()) {
            return Refused(CompensationRefusal::GuideNoSuchLeg,
                           WithText(About(texts.Name, "направляющая опора — на участке нет плеча " +
                                                          std::to_string(leg)),
                                    item));
        }
        section.Guides.push_back({leg - 1, *distance});
    }
    return std::nullopt;
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '+' || c == '-';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The words of a route: runs of number characters and runs of anything else, split at blanks.
std::vector<std::string_view> RouteWords(std::string_view route)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < route.size()) {
        if (IsBlank(route[i])) {
            ++i;
            continue;
        }
        const bool number = IsNumberChar(route[i]);
        std::size_t end = i + 1;
        while (end < route.size() && !IsBlank(route[end]) && IsNumberChar(route[end]) == number) {
            ++end;
        }
        words.push_back(route.substr(i, end - i));
        i = end;
    }
    return words;
}

}  // namespace

std::string_view TurnLetter(TurnSide side)
{
    return side == TurnSide::Left ? "Л" : "П";
}

CompensationSection StraightSection(double length)
{
    CompensationSection section;
    section.Legs = {length};
    return section;
}

CompensationSection LShapedSection(double first, double second, TurnSide side)
{
    CompensationSection section;
    section.Legs = {first, second};
    section.Turns = {side};
    return section;
}

namespace {
TurnSide Opposite(TurnSide side)
{
    return side == TurnSide::Left ? TurnSide::Right : TurnSide::Left;
}
}  // namespace

CompensationSection ZShapedSection(double first, double middle, double last, TurnSide side)
{
    CompensationSection section;
    section.Legs = {first, middle, last};
    section.Turns = {side, Opposite(side)};
    return section;
}

CompensationSection UCompensatorSection(double before, double reach, double width, double after,
                                        TurnSide side)
{
    CompensationSection section;
    section.Legs = {before, reach, width, reach, after};
    section.Turns = {side, Opposite(side), Opposite(side), side};
    return section;
}

SectionReading ParseSectionRoute(std::string_view route, std::string_view decimalSeparator,
                                 std::string_view name)
{
    const std::vector<std::string_view> words = RouteWords(route);
    CompensationSection section;
    section.Name = std::string(name);
    if (words.empty()) {
        return Refused(CompensationRefusal::NoLegs, About(name, "не задано ни одно плечо"));
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t leg = section.Legs.size() + 1;
        if (i % 2 == 0) {
            if (auto refused = ReadLeg(words[i], decimalSeparator, leg, name, section)) {
                return *refused;
            }
            continue;
        }
        // A turn after leg `leg − 1`.
        if (const std::optional<TurnSide> turn = ReadTurn(words[i])) {
            section.Turns.push_back(*turn);
            continue;
        }
        if (ParseNumberToDouble(words[i], decimalSeparator)) {
            return Refused(CompensationRefusal::MissingTurn,
                           About(name, "после плеча " + std::to_string(leg - 1) +
                               " не указан поворот (Л или П)"));
        }
        return Refused(CompensationRefusal::BadTurn,
                       WithText(About(name, "поворот после плеча " + std::to_string(leg - 1) +
                                                " должен быть Л или П (L или R)"),
                                words[i]));
    }
    if (section.Turns.size() == section.Legs.size()) {
        return Refused(CompensationRefusal::EndsInTurn,
                       About(name, "после последнего поворота нет плеча"));
    }
    return Finish(std::move(section));
}

SectionReading CheckSection(CompensationSection section)
{
    if (section.Legs.empty()) {
        return Refused(CompensationRefusal::NoLegs,
                       About(section.Name, "не задано ни одно плечо"));
    }
    for (std::size_t i = 0; i < section.Legs.size(); ++i) {
        const double length = section.Legs[i];
        const std::string leg = "длина плеча " + std::to_string(i + 1);
        if (std::isnan(length)) {
            return Refused(CompensationRefusal::LengthNotANumber,
                           About(section.Name, leg + " должна быть числом"));
        }
        if (length <= 0) {
            return Refused(CompensationRefusal::LengthNotPositive,
                           About(section.Name, leg + " должна быть больше нуля"));
        }
        if (length > kMaxLegLength) {
            return Refused(CompensationRefusal::LengthTooLarge,
                           About(section.Name, leg + " должна быть не больше 10 000 м"));
        }
    }
    if (section.Turns.size() >= section.Legs.size()) {
        return Refused(CompensationRefusal::EndsInTurn,
                       About(section.Name, "после последнего поворота нет плеча"));
    }
    if (section.Turns.size() + 1 < section.Legs.size()) {
        return Refused(CompensationRefusal::MissingTurn,
                       About(section.Name, "после плеча " +
                           std::to_string(section.Turns.size() + 1) + " не указан поворот (Л или П)"));
    }
    return Finish(std::move(section));
}

std::string SectionRouteText(const CompensationSection& section, std::string_view decimalSeparator)
{
    std::string text;
    for (std::size_t i = 0; i < section.Legs.size(); ++i) {
        if (i > 0) {
            text += ' ';
            text += i - 1 < section.Turns.size() ? TurnLetter(section.Turns[i - 1]) : "?";
            text += ' ';
        }
        text += FormatGeneral(section.Legs[i], decimalSeparator);
    }
    return text;
}

SectionReading ReadSectionTexts(const SectionTexts& texts, std::string_view decimalSeparator)
{
    CompensationSection section;
    section.Name = texts.Name;
    if (texts.Legs.empty()) {
        return Refused(CompensationRefusal::NoLegs,
                       About(texts.Name, "не задано ни одно плечо"));
    }
    for (std::size_t i = 0; i < texts.Legs.size(); ++i) {
        const SectionLegTexts& row = texts.Legs[i];
        if (auto refused = ReadLeg(row.Length, decimalSeparator, i + 1, texts.Name, section)) {
            return *refused;
        }
        const std::size_t blank = row.Turn.find_first_not_of(" \t");
        const std::string_view turnText =
            blank == std::string::npos
                ? std::string_view{}
                : std::string_view(row.Turn).substr(blank, row.Turn.find_last_not_of(" \t") + 1 - blank);
        const bool last = i + 1 == texts.Legs.size();
        if (turnText.empty()) {
            if (!last) {
                return Refused(CompensationRefusal::MissingTurn,
                               About(texts.Name, "после плеча " + std::to_string(i + 1) +
                                   " не указан поворот (Л или П)"));
            }
            continue;
        }
        const std::optional<TurnSide> turn = ReadTurn(turnText);
        if (!turn) {
            return Refused(CompensationRefusal::BadTurn,
                           WithText(About(texts.Name, "поворот после плеча " + std::to_string(i + 1) +
                                                          " должен быть Л или П (L или R)"),
                                    turnText));
        }
        if (last) {
            return Refused(CompensationRefusal::EndsInTurn,
                           About(texts.Name, "после последнего поворота нет плеча"));
        }
        section.Turns.push_back(*turn);
    }
    if (auto refused = ReadSupportsTexts(texts, decimalSeparator, section)) {
        return *refused;
    }
    return Finish(std::move(section));
}

SectionTexts SectionToTexts(const CompensationSection& section, std::string_view decimalSeparator)
{
    SectionTexts texts;
    texts.Name = section.Name;
    for (std::size_t i = 0; i < section.Legs.size(); ++i) {
        texts.Legs.push_back({FormatGeneral(section.Legs[i], decimalSeparator),
                              i < section.Turns.size() ? std::string(TurnLetter(section.Turns[i]))
                                                       : std::string()});
    }
    if (section.BendRadius > 0) {
        texts.BendRadius = FormatGeneral(
            static_cast<double>(static_cast<long double>(section.BendRadius) * 1000), decimalSeparator);
    }
    if (section.SupportStep) {
        texts.SupportStep = FormatGeneral(*section.SupportStep, decimalSeparator);
    }
    texts.Guides = GuidesText(section.Guides, decimalSeparator);
    return texts;
}

std::string GuidesText(const std::vector<GuidePlace>& guides, std::string_view decimalSeparator)
{
    std::string text;
    for (const GuidePlace& guide : guides) {
        if (!text.empty()) {
            text += "; ";
        }
        text += std::to_string(guide.Leg + 1) + ":" + FormatGeneral(guide.Distance, decimalSeparator);
    }
    return text;
}

std::vector<LegDirection> SectionDirections(const CompensationSection& section)
{
    static constexpr LegDirection kQuarters[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    std::vector<LegDirection> directions;
    // The direction as quarter turns counterclockwise from +x.
    int quarter = 0;
    for (std::size_t i = 0; i < section.Legs.size(); ++i) {
        if (i > 0 && i - 1 < section.Turns.size()) {
            quarter = (quarter + (section.Turns[i - 1] == TurnSide::Left ? 1 : 3)) % 4;
        }
        directions.push_back(kQuarters[quarter]);
    }
    return directions;
}

std::vector<SectionPoint> SectionNodes(const CompensationSection& section)
{
    const std::vector<LegDirection> directions = SectionDirections(section);
    std::vector<SectionPoint> nodes{{0, 0}};
    for (std::size_t i = 0; i < section.Legs.size(); ++i) {
        const SectionPoint from = nodes.back();
        const long double length = section.Legs[i];
        nodes.push_back({static_cast<double>(from.X + directions[i].Cos * length),
                         static_cast<double>(from.Y + directions[i].Sin * length)});
    }
    return nodes;
}

}  // namespace korvelin

