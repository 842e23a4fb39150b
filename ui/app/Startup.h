#pragma once

#include <QString>
#include <QStringList>

class InputSetDocument;
class QCoreApplication;
class QLocale;

// Called before the application object: on Windows, the windows draw their text with FreeType,
// as on Linux, unless QT_QPA_PLATFORM names the platform and its options itself. (With the
// system's GDI text, the fields stayed blank under Wine.)
void ChoosePlatformOptions();

// The application's title "Korvelin": the caption of every message box and the program's name
// on the desktop. The windows keep their own captions.
void SetApplicationTitle();

// Qt's own texts (the standard buttons, the file and print dialogs, the fields' context menu) in
// the language of `locale`: Qt's catalogue qtbase for it, looked for first in "translations"
// beside the program (the Windows edition), then in Qt's own folder of translations. A language
// without a catalogue keeps Qt's English. Returns whether a catalogue was installed.
bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale);

// The decimal separator of the user's locale, with which the calculation reads and shows numbers.
QString UserDecimalSeparator();

// `korvelin FILE`: opens the file named first after the program. A file that cannot be used is
// reported, and the window keeps the start-up inputs.
void OpenCommandLineFile(InputSetDocument& document, const QStringList& arguments);
