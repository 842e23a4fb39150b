#pragma once

#include <QSize>

// The largest side the image may reach by zooming in, in pixels.
inline constexpr int MaxZoomedSide = 16384;

// The size of the image after one step of the mouse wheel, given the size of the scroll area.
// A step that does not apply returns the image's size unchanged.
QSize ZoomInSize(QSize image, QSize area);
QSize ZoomOutSize(QSize image, QSize area);
