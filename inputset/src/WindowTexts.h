#pragma once

#include "korvelin/InputSet.h"

#include <string>

namespace korvelin {

// What the windows could not hold of a set, in Russian, or an empty string: a field text the key
// filter could not produce (only digits and one decimal mark; the optional texts of the page
// "Итог" and the cells of the table of pipes may also be empty), or an outer diameter whose inner
// diameter exceeds the limit that the main window corrects while it is typed.
std::string WindowTextProblem(const InputSet& set);

}  // namespace korvelin
