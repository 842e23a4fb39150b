// Any bytes as the text of a numeric field; the first byte picks the decimal separator.
#include "korvelin/ParseNumber.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view separator = (data[0] & 1) != 0 ? "," : ".";
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const korvelin::ParsedNumber parsed = korvelin::ParseNumber(text, separator);
    // The working copy differs from the text only in its first decimal mark.
    if (parsed.WorkingCopy.size() != text.size()) {
        __builtin_trap();
    }
    if (parsed.Ok && std::isnan(parsed.Value)) {
        __builtin_trap();
    }
    return 0;
}
