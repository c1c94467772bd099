// The overlay varnish and hologram dialogs of the document sheet. Each dialog procedure
// takes, as WM_INITDIALOG's lParam, a property-sheet callback record whose UserData
// names the document sheet, and writes only into that sheet's working record; without
// a live sheet the dialog ends at once and touches nothing.
#pragma once

#include <windows.h>

// "Front Overlay Varnish" (IDD_FRONT_OVERLAY) and "Back Overlay Varnish"
// (IDD_BACK_OVERLAY): the overlay varnish of one card side. Each ends with 1 when
// something was changed, else 0.
INT_PTR CALLBACK FrontOverlayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BackOverlayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "Front Hologram Overlay Varnish" (IDD_HOLOGRAM_REGION): where the hologram panel is
// laid. Ends with 1 when something was changed, else 0.
INT_PTR CALLBACK HologramRegionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "Hologram Overlay Varnish" (IDD_HOLOGRAM): the hologram settings, the region editor,
// Head Settings and the hologram print. Ends with 1 when something was changed, else 0.
INT_PTR CALLBACK HologramVarnishDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the up-down class the region editors use, before their templates are created.
void RegisterUpDownClass();
