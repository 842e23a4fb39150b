#pragma once

#include <QImage>

// A picture with the make-up of a photograph, for timing the JPEG decoder on realistic data:
// a sky-to-ground gradient, soft blotches at two scales, overlapping shapes with antialiased
// edges and fine grain over everything. The same seed gives the same picture.
QImage SyntheticPhoto(int width, int height, unsigned seed = 7);
