// The dialogs of the device sheet's encoder and single-feed buttons. Each is run modally
// with the service's callback record as its initial parameter, which names the device
// sheet it belongs to; the printer it sends to and stores in is that sheet's.
#pragma once

#include <windows.h>

#include <cstdint>

// "Encoder settings" (template 104): the general part of the printer-wide encoder record.
INT_PTR CALLBACK EncoderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// "Advanced settings" (template 105): the per-track part; opened from the encoder dialog.
INT_PTR CALLBACK AdvancedTrackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// "Single Feed Options" (template 122).
INT_PTR CALLBACK SingleFeedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
