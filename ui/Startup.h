#pragma once

#include <QString>
#include <QStringList>

class InputSetDocument;

// The application's title "Korvelin": the caption of every message box and the program's name
// on the desktop. The windows keep their own captions.
void SetApplicationTitle();

// The decimal separator of the user's locale, with which the calculation reads and shows numbers.
QString UserDecimalSeparator();

// `korvelin FILE`: opens the file named first after the program. A file that cannot be used is
// reported, and the window keeps the start-up inputs.
void OpenCommandLineFile(InputSetDocument& document, const QStringList& arguments);
