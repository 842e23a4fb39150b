// The shared set-up of the main window's tests: its meta-object, built once for all of them.
#include "MainWindowTestCase.h"
