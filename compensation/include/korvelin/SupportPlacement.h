#pragma once

// The sliding supports and guides of a section between two fixed supports, placed once: the
// section's own solution and the route's schedule take the same places.
//
// Each leg is a continuous beam from its start to its end (a fixed support or a corner, which
// carries a sliding support at the middle of its bend). It is cut into equal spans: the fewest
// spans whose length is not above the governing span of a beam of that many spans
// (DivideIntoSpans), or, where the designer typed the step of the supports, the fewest not longer
// than the step, whichever count is larger; a count raised by the step is raised further while
// its span is above the governing span of its own count. A typed guide takes the place of a
// support within 1 mm of it or stands between them. Then the designer's edits of the placed
// supports: a move along the leg, a removal, a guide in place of a sliding support.
//
// The vertical load of a support is the continuous-beam factor of its place × q × its span, the
// support loads' own rule: the supports between two ends of a beam (a fixed support or a corner's
// support; a corner whose support was removed joins its two legs into one beam) are a beam of as
// many spans as there are between them; an intermediate support takes k_i of that count × q × the
// mean of its two spans, an end k_e × q × the span next to it from each beam that ends on it.

#include "korvelin/CompensationSection.h"
#include "korvelin/DesignSummary.h"
#include "korvelin/RouteSpans.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvelin {

// A support along the legs: a sliding support, free in plan but for its friction, or a guide,
// which also holds the pipe across its leg.
enum class SupportKind { Sliding, Guide };

// Where a support stands and what it carries.
struct SupportPlace {
    SupportKind Kind = SupportKind::Sliding;
    std::size_t Leg = 0;     // from 0
    double Distance = 0;     // m along the typed leg from its start (the intersection of the axes)
    double X = 0;            // m, the point of the pipe's axis
    double Y = 0;
    bool OnBend = false;     // a sliding support at a corner stands on the bend's arc
    double Span = 0;         // m, half the spans on either side
    double VerticalLoad = 0; // V, N: LoadLength × q
    bool Corner = false;     // the support of a corner (Distance is the leg's length)
    bool Edited = false;     // moved or turned into a guide by the designer
    double Chainage = 0;     // m along the typed legs from support A
    // m: the sum of the continuous-beam factors × the spans they take, so that V = q·LoadLength
    double LoadLength = 0;
};

// What the designer does to a support the route placed: moves it along its leg, removes it or
// turns it into a guide. A support is found by its section, leg (both from 0) and distance from
// the leg's start (m, within 1 mm). The fixed supports are the sections' ends and are not edited.
enum class SupportEditAction { Move, Remove, Guide };
struct SupportEdit {
    SupportEditAction Action = SupportEditAction::Move;
    std::size_t Section = 0;
    std::size_t Leg = 0;
    double Distance = 0;     // m
    double NewDistance = 0;  // m, where a moved support goes on the same leg

    bool operator==(const SupportEdit&) const = default;
};

// The edits as one text, as the input-set file and korvelin-calc keep them:
// "1:2:4 -> 3,5; 1:3:2 x; 2:1:6 н" — section and leg from 1, the distance in m, then "-> S" for a
// move, "x" for a removal, "н" for a guide; blank: none.
struct SupportEditsReading {
    std::vector<SupportEdit> Edits;
    std::string Error;  // Russian, naming the edit typed
    bool Ok() const { return Error.empty(); }
};
SupportEditsReading ReadSupportEdits(std::string_view text, std::string_view decimalSeparator);
std::string SupportEditsText(std::span<const SupportEdit> edits, std::string_view decimalSeparator);

// "sp" or "snip" (either case) as korvelin-calc and the input-set file name the placement rules;
// none for another text.
std::optional<RuleSet> ReadPlacementRules(std::string_view text);
std::string_view PlacementRulesKey(RuleSet rules);

// A beam of the placed supports: from a fixed support or a corner's support to the next of them.
struct BeamDivision {
    std::size_t Leg = 0;         // the leg it starts on
    double Length = 0;           // m along the typed legs
    int Spans = 0;               // as placed (after the edits)
    double GoverningSpan = 0;    // m, of the count's item; 0: placed by the typed step alone
    double LongestSpan = 0;      // m
    std::size_t LongestAfter = 0;  // the longest span follows this support: 0 the beam's start
                                   // (support A or its corner), j the support Places[j − 1]
};

struct SectionSupports {
    std::vector<SupportPlace> Places;  // in order from A, V for q = 1 N/m
    double LoadLengthA = 0;            // m: the fixed supports' own LoadLength
    double LoadLengthB = 0;
    std::vector<BeamDivision> Beams;
    // The set of rules whose governing spans placed the supports; none: the typed step alone.
    std::optional<RuleSet> Rules;
    // Why the supports are not as asked, in Russian: a leg the governing spans cannot divide (its
    // sliding supports then stand by the typed step alone, if any), an edit that does not apply
    // (the edits are then left out). Empty when all went well.
    std::string Problem;
};

// Places the supports of `section` (the route's section number `sectionIndex`, from 0, for the
// messages of the edits). `governingSpan` empty: by the section's typed step alone (no step:
// guides only). Only the edits of `sectionIndex` are applied.
SectionSupports PlaceSupports(const CompensationSection& section,
                              const GoverningSpanOfItem& governingSpan,
                              std::optional<RuleSet> rules = std::nullopt,
                              std::span<const SupportEdit> edits = {}, std::size_t sectionIndex = 0);

// The places with V = q·LoadLength (N).
std::vector<SupportPlace> LoadedSupports(std::vector<SupportPlace> places, double verticalLoad);

// The same places: kinds, legs and distances equal to the bit.
bool SamePlaces(std::span<const SupportPlace> a, std::span<const SupportPlace> b);

}  // namespace korvelin
