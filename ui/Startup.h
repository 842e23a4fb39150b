#pragma once

#include <QString>

// The application's title "Korvelin": the caption of every message box and the program's name
// on the desktop. The windows keep their own captions.
void SetApplicationTitle();

// The decimal separator of the user's locale, with which the calculation reads and shows numbers.
QString UserDecimalSeparator();
