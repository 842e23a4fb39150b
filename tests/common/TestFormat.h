#pragma once

#include "korvelin/NumberFormat.h"

#include <string>

namespace korvelin::test {

// A value as the program shows it, with a full stop.
inline std::string Shown(double value) { return FormatFixed3(value, "."); }

}  // namespace korvelin::test
