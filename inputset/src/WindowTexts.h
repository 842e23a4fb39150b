#pragma once

#include "korvelin/InputSet.h"

#include <string>

namespace korvelin {

// What the windows could not hold of a set, in Russian, or an empty string: a field text the key
// filter could not produce (only digits and one decimal mark; the optional texts of the page
// "Итог" and the cells of the table of pipes may also be empty). Any outer diameter and wall
// can stand in the window together: the inner-diameter limit corrects the diameter as it is
// typed, a thinner wall typed afterwards is not checked again.
std::string WindowTextProblem(const InputSet& set);

}  // namespace korvelin
