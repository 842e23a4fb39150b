#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvelin::cli {

// A JSON string literal; bytes that are not valid UTF-8 become U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);
// The shortest decimal that reads back as the same double, or null when absent.
void AppendJsonNumber(std::string& out, std::optional<double> value);

}  // namespace korvelin::cli
