// What the head settings and colour correction dialogs share: rows of a slider with its
// name and value labels.
#pragma once

#include <windows.h>

// The rows of a slider dialog, numbered from the first control id of each kind.
struct SliderRows {
    int sliderFirst;
    int nameFirst;
    int valueFirst;
    int count;
    bool signedValues;  // the value labels show signed numbers
};

// Puts `value` on row `index`'s slider and its value label.
void ShowSliderValue(HWND dialog, const SliderRows& rows, int index, int value);

// Enables or disables a row. The name and value go with the slider: a disabled trackbar
// may be drawn like an enabled one, but greyed labels show which sliders the ribbon does
// not use.
void EnableSliderRow(HWND dialog, const SliderRows& rows, int index, bool on);

// The row of `slider`, which sent WM_HSCROLL, and its position in `position`; -1 when it
// is none of the rows' sliders.
int MovedSliderRow(HWND dialog, const SliderRows& rows, HWND slider, int* position);
