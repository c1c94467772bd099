#include "driver/imaging/slider_dialog.h"

#include <commctrl.h>

#include <initializer_list>

#include "driver/resources/resource.h"

void ShowSliderValue(HWND dialog, const SliderRows& rows, int index, int value) {
    SendDlgItemMessageW(dialog, rows.sliderFirst + index, TBM_SETPOS, TRUE, value);
    SetDlgItemInt(dialog, rows.valueFirst + index, static_cast<UINT>(value), rows.signedValues ? TRUE : FALSE);
}

void EnableSliderRow(HWND dialog, const SliderRows& rows, int index, bool on) {
    for (const int first : {rows.sliderFirst, rows.nameFirst, rows.valueFirst})
        EnableWindow(GetDlgItem(dialog, first + index), on ? TRUE : FALSE);
}

int MovedSliderRow(HWND dialog, const SliderRows& rows, HWND slider, int* position) {
    const int index = GetDlgCtrlID(slider) - rows.sliderFirst;
    if (index < 0 || index >= rows.count || GetDlgItem(dialog, rows.sliderFirst + index) != slider) return -1;
    *position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    return index;
}
