#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace korvelin {

// The number of characters of valid UTF-8 text, or nothing; `bad` receives the offset of the
// first byte that does not belong to a valid sequence.
std::optional<std::size_t> Utf8Length(std::string_view text, std::size_t* bad = nullptr);

}  // namespace korvelin
