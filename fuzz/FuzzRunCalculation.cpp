// Any bytes as one calculation: six selector indexes, then five field texts separated by
// newlines. Every outcome must be one of the three kinds with a report of the right length.
#include "korvelin/RunCalculation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 7) {
        return 0;
    }
    // Indexes from -2 to 13, so that the items without a table row and the ones beyond the
    // selectors are reached as often as the valid ones.
    auto index = [&](std::size_t i) { return static_cast<int>(data[i] % 16) - 2; };
    const korvelin::SelectorIndexes indexes{index(0), index(1), index(2), index(3), index(4), index(5)};
    const std::string_view separator = (data[6] & 1) != 0 ? "," : ".";
    std::string_view rest(reinterpret_cast<const char*>(data + 7), size - 7);
    std::string fields[5];
    for (std::string& field : fields) {
        const std::size_t end = rest.find('\n');
        field = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const korvelin::FieldTexts texts{fields[0], fields[1], fields[2], fields[3], fields[4]};
    const korvelin::CalculationOutcome outcome = korvelin::RunCalculation(texts, indexes, separator);
    switch (outcome.Kind) {
    case korvelin::OutcomeKind::Completed:
        if (outcome.Report.size() != 26 || !outcome.Message.empty() ||
            !outcome.Spans.DeflectionSpanSNiP) {
            __builtin_trap();
        }
        break;
    case korvelin::OutcomeKind::Refused:
        if (outcome.Report.size() != 3 || outcome.Spans.CondensateSpanSP) {
            __builtin_trap();
        }
        break;
    case korvelin::OutcomeKind::Failed:
        if (outcome.Report.size() < 3 || outcome.Report.size() > 26 || outcome.Message.empty()) {
            __builtin_trap();
        }
        break;
    default:
        __builtin_trap();
    }
    return 0;
}
