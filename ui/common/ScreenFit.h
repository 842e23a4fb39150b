#pragma once

#include <QRect>

class QWidget;

// Where a window's frame goes so that it is whole inside the available area of its screen:
// where it is already whole, unchanged; otherwise moved just enough, side by side. A sizeable
// window larger than the area is shrunk to it; a fixed one keeps its size with its top left
// corner (the caption) inside the area.
QRect FitFrameIntoArea(const QRect& frame, const QRect& area, bool sizeable);

// Keeps the window whole on the available area of its screen (the taskbar excluded) each time
// it is shown, from the position it was given or the user left it at. While shown, the user may
// move it anywhere.
void KeepOnScreen(QWidget& window);
