#pragma once

class QComboBox;

// Draws the open list of a selector in the colours of the closed selector: its background
// (the box's Button colour, money green) with its text colour (ButtonText, navy). Without this
// the list would take the grey colours of a menu from the style.
void ColourOpenList(QComboBox& box);
