#pragma once

#include <QFont>

// The font of the windows: "MS Sans Serif" at 8 points, or a comparable sans-serif face of the
// same size where it is not installed.
QFont WindowFont();
