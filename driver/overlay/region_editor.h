// The region editors: the front and back overlay varnish editors and the hologram
// region editor share one behaviour, on their own record and control ids.
#pragma once

#include <windows.h>

#include "driver/overlay/region_rules.h"
#include "driver/settings/private_settings.h"
#include "driver/ui/help_pages.h"

// What tells one editor from another.
struct RegionEditorKind {
    qf::RegionEditor editor;
    // The record the editor edits, inside a sheet's working settings.
    qf::OverlayRegion& (*regionOf)(qf::PrivateSettings& settings);
    int typeList;
    int typeStringFirst;  // the list's texts, one string per type code
    int labelFirst;       // the four coordinate labels
    int editFirst;        // the coordinate edits: id - editFirst is the coordinate index
    int upDownFirst;      // their up-downs, in the same order
    int bitmapGroup;
    int browse;
    int path;
    int rotate;
    qf::HelpTopic help;   // the editor's page of the manual
};

// The editor's dialog procedure body, for the dialog procedure of each template.
// WM_INITDIALOG's lParam is a property-sheet callback record whose UserData names the
// document sheet; without a live sheet the dialog ends at once with 0. The dialog ends
// with 1 when anything was changed (or the type list took the focus), else 0.
INT_PTR RegionEditorDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const RegionEditorKind& kind);

// Asks for a monochrome bitmap with the open-file dialog until the user chooses one or
// cancels; a file that is not a monochrome bitmap is refused with a message and the
// dialog opens again. On a choice the path goes into `region` and control `pathControl`.
// Returns false when cancelled or when the chosen file cannot be read.
bool BrowseMonochromeBitmap(HWND dialog, qf::OverlayRegion& region, int pathControl);
