// The region editors' shared behaviour.
#include "driver/overlay/region_editor.h"

#include <commctrl.h>

#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "driver/overlay/region_preview.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/resources/resource.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr int kCoordinates = 4;

// What an open editor keeps: its sheet, its kind, the preview box, the changed flag,
// and whether the editor is writing its own controls (their notifications are then
// its own, not the user's).
struct EditorState {
    DocumentSheetState* sheet;
    ULONG_PTR sheetId;  // the sheet's number: the sheet is used only while it is live
    const RegionEditorKind* kind;
    qf::PixelRect preview;
    bool changed;
    bool filling;
};

EditorState* StateOf(HWND dialog) { return LiveDialogState<EditorState>(dialog); }

qf::OverlayRegion& RegionOf(EditorState& state) { return state.kind->regionOf(state.sheet->Settings()); }

uint32_t& CoordinateOf(qf::OverlayRegion& region, int index) {
    uint32_t* fields[kCoordinates] = {&region.left, &region.top, &region.right, &region.bottom};
    return *fields[index];
}

void EnableGroup(HWND dialog, int first, int count, bool on) {
    for (int id = first; id < first + count; ++id) EnableWindow(GetDlgItem(dialog, id), on);
}

void EnableCoordinateControls(HWND dialog, const RegionEditorKind& kind, bool on) {
    EnableGroup(dialog, kind.labelFirst, kCoordinates, on);
    EnableGroup(dialog, kind.editFirst, kCoordinates, on);
    EnableGroup(dialog, kind.upDownFirst, kCoordinates, on);
}

void EnableBitmapControls(HWND dialog, const RegionEditorKind& kind, bool on) {
    EnableWindow(GetDlgItem(dialog, kind.bitmapGroup), on);
    EnableWindow(GetDlgItem(dialog, kind.browse), on);
    EnableWindow(GetDlgItem(dialog, kind.path), on);
}

void InvalidatePreview(HWND dialog, const EditorState& state) {
    const RECT box = {state.preview.left, state.preview.top, state.preview.right, state.preview.bottom};
    InvalidateRect(dialog, &box, FALSE);
}

void SetUpDown(HWND dialog, const RegionEditorKind& kind, int index, uint32_t value) {
    SendDlgItemMessageW(dialog, kind.upDownFirst + index, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
}

// Writes a coordinate into its edit without the edit's notification being taken for
// the user's typing.
void ShowCoordinate(HWND dialog, EditorState& state, int index, uint32_t value) {
    const bool filling = state.filling;
    state.filling = true;
    SetDlgItemInt(dialog, state.kind->editFirst + index, value, FALSE);
    state.filling = filling;
}

void FillEditor(HWND dialog, EditorState& state) {
    const RegionEditorKind& kind = *state.kind;
    qf::OverlayRegion& region = RegionOf(state);
    const qf::RegionEditorRules& rules = qf::RulesOf(kind.editor);
    for (int i = 0; i < kCoordinates; ++i) {
        const uint32_t value = CoordinateOf(region, i);
        ShowCoordinate(dialog, state, i, value);
        const bool across = i == qf::kCoordinateLeft || i == qf::kCoordinateRight;
        SendDlgItemMessageW(dialog, kind.upDownFirst + i, UDM_SETRANGE32, 0,
                            static_cast<LPARAM>(across ? rules.upDownMaxX : rules.upDownMaxY));
        SetUpDown(dialog, kind, i, value);
    }
    for (int type = 0; type < rules.typeCount; ++type) {
        const std::wstring text = LoadModuleText(static_cast<UINT>(kind.typeStringFirst + type));
        const LRESULT item = SendDlgItemMessageW(dialog, kind.typeList, CB_ADDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(text.c_str()));
        SendDlgItemMessageW(dialog, kind.typeList, CB_SETITEMDATA, static_cast<WPARAM>(item), type);
    }
    SendDlgItemMessageW(dialog, kind.typeList, CB_SETCURSEL, region.overlayType, 0);
    EnableCoordinateControls(dialog, kind, qf::TypeUsesArea(kind.editor, region.overlayType));
    if (!qf::TypeUsesBitmap(kind.editor, region.overlayType)) EnableBitmapControls(dialog, kind, false);
    SetDlgItemTextW(dialog, kind.path, PathOf(region).text);
    CheckDlgButton(dialog, kind.rotate, region.rotated ? BST_CHECKED : BST_UNCHECKED);
}

// Opening: the controls show the stored record as it is. A stored area that breaks the
// rules is shown without complaint; the user's edits are checked from then on.
bool OpenEditor(HWND dialog, LPARAM initParam, const RegionEditorKind& kind) {
    DocumentSheetState* sheet = DocumentSheetOfDialog(initParam);
    auto* state = sheet ? new (std::nothrow) EditorState{sheet, sheet->id, &kind, {}, false, true} : nullptr;
    if (!state) {
        EndDialog(dialog, 0);
        return false;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    FillEditor(dialog, *state);
    state->preview = GetPreviewRect(dialog);
    InvalidatePreview(dialog, *state);
    state->changed = false;
    state->filling = false;
    return true;
}

void PaintEditor(HWND dialog) {
    const qf::PaintScope paint(dialog);
    EditorState* state = StateOf(dialog);
    if (paint.Dc() && state) PaintRegionPreview(paint.Dc(), dialog, state->kind->editor, RegionOf(*state));
}

// The bitmap type is taken only with a bitmap: the stored one or one chosen now.
// Without either the type falls back to the first entry, with its controls.
void FallBackToFirstType(HWND dialog, EditorState& state) {
    RegionOf(state).overlayType = 0;
    SendDlgItemMessageW(dialog, state.kind->typeList, CB_SETCURSEL, 0, 0);
    EnableCoordinateControls(dialog, *state.kind, false);
    EnableBitmapControls(dialog, *state.kind, false);
    InvalidateRect(dialog, nullptr, TRUE);
}

void UseBitmapControls(HWND dialog, const RegionEditorKind& kind) {
    EnableCoordinateControls(dialog, kind, false);
    EnableBitmapControls(dialog, kind, true);
    InvalidateRect(dialog, nullptr, TRUE);
}

void TypeChosen(HWND dialog, EditorState& state) {
    const RegionEditorKind& kind = *state.kind;
    qf::OverlayRegion& region = RegionOf(state);
    const LRESULT chosen = SendDlgItemMessageW(dialog, kind.typeList, CB_GETCURSEL, 0, 0);
    if (chosen < 0) return;
    const auto type = static_cast<uint16_t>(chosen);
    if (qf::TypeUsesArea(kind.editor, type)) {
        EnableCoordinateControls(dialog, kind, true);
        EnableBitmapControls(dialog, kind, false);
    } else if (qf::TypeUsesBitmap(kind.editor, type)) {
        if (!region.bitmapPath[0] && !BrowseMonochromeBitmap(dialog, region, kind.path)) {
            FallBackToFirstType(dialog, state);
            return;
        }
        UseBitmapControls(dialog, kind);
    } else {
        EnableCoordinateControls(dialog, kind, false);
        EnableBitmapControls(dialog, kind, false);
    }
    region.overlayType = type;
}

// Every notification of the type list counts as a change, the focus arriving included.
void TypeListNotified(HWND dialog, int code) {
    EditorState* state = StateOf(dialog);
    if (!state || state->filling) return;
    if (code == CBN_SELCHANGE) TypeChosen(dialog, *state);
    state->changed = true;
    InvalidatePreview(dialog, *state);
}

void TakeCoordinate(HWND dialog, EditorState& state, int index, uint32_t value) {
    CoordinateOf(RegionOf(state), index) = value;
    SetUpDown(dialog, *state.kind, index, value);
    InvalidatePreview(dialog, state);
    state.changed = true;
}

// A refused coordinate: the stored value goes back into the up-down and the edit.
void RefuseCoordinate(HWND dialog, EditorState& state, int index) {
    const uint32_t stored = CoordinateOf(RegionOf(state), index);
    SetUpDown(dialog, *state.kind, index, stored);
    ShowMessage(IDS_CAPTION, IDS_INVALID_COORDINATES, MB_OK | MB_ICONERROR);
    ShowCoordinate(dialog, state, index, stored);
}

// A keystroke in a coordinate edit: its first four characters are checked at once. A
// text that is no number (pasted) is refused like a value the area cannot take.
void CoordinateTyped(HWND dialog, int id) {
    EditorState* state = StateOf(dialog);
    if (!state || state->filling) return;
    const int index = id - state->kind->editFirst;
    if (!qf::TypeUsesArea(state->kind->editor, RegionOf(*state).overlayType)) return;
    wchar_t text[16] = {};
    GetDlgItemTextW(dialog, id, text, 16);
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(text));
    const std::optional<uint32_t> value = qf::ParseDecimalText(typed.substr(0, qf::kCoordinateTextChars));
    if (value && qf::CheckCoordinateEdit(static_cast<uint32_t>(index), qf::AreaOf(RegionOf(*state)), *value))
        TakeCoordinate(dialog, *state, index, *value);
    else
        RefuseCoordinate(dialog, *state, index);
}

// A step of an up-down. Its position arrives once per step (SB_THUMBPOSITION); the
// end of the click (SB_ENDSCROLL) brings nothing new.
void CoordinateStepped(HWND dialog, WPARAM request, HWND control) {
    EditorState* state = StateOf(dialog);
    if (!state || state->filling || LOWORD(request) == SB_ENDSCROLL) return;
    const int index = GetDlgCtrlID(control) - state->kind->upDownFirst;
    if (!control || index < 0 || index >= kCoordinates || GetDlgItem(dialog, state->kind->upDownFirst + index) != control) {
        InvalidatePreview(dialog, *state);
        state->changed = true;
        return;
    }
    const uint32_t value = LOWORD(SendMessageW(control, UDM_GETPOS, 0, 0));
    if (!qf::CheckCoordinateEdit(static_cast<uint32_t>(index), qf::AreaOf(RegionOf(*state)), value)) {
        SetUpDown(dialog, *state->kind, index, CoordinateOf(RegionOf(*state), index));
        ShowMessage(IDS_CAPTION, IDS_INVALID_COORDINATES, MB_OK | MB_ICONERROR);
        return;
    }
    CoordinateOf(RegionOf(*state), index) = value;
    ShowCoordinate(dialog, *state, index, value);
    InvalidatePreview(dialog, *state);
    state->changed = true;
}

void BrowseClicked(HWND dialog) {
    EditorState* state = StateOf(dialog);
    if (!state) return;
    qf::OverlayRegion& region = RegionOf(*state);
    if (BrowseMonochromeBitmap(dialog, region, state->kind->path) || region.bitmapPath[0]) {
        UseBitmapControls(dialog, *state->kind);
        state->changed = true;
    } else {
        FallBackToFirstType(dialog, *state);
    }
}

void RotateClicked(HWND dialog) {
    EditorState* state = StateOf(dialog);
    if (!state) return;
    RegionOf(*state).rotated = IsDlgButtonChecked(dialog, state->kind->rotate) == BST_CHECKED ? 1 : 0;
    InvalidatePreview(dialog, *state);
    state->changed = true;
}

void CloseClicked(HWND dialog) {
    EditorState* state = StateOf(dialog);
    EndDialog(dialog, state && state->changed ? 1 : 0);
}

bool EditorCommand(HWND dialog, int id, int code, const RegionEditorKind& kind) {
    if (id == kind.typeList) {
        TypeListNotified(dialog, code);
    } else if (id >= kind.editFirst && id < kind.editFirst + kCoordinates) {
        if (code == EN_CHANGE) CoordinateTyped(dialog, id);
    } else if (id == kind.browse) {
        if (code == BN_CLICKED) BrowseClicked(dialog);
    } else if (id == kind.rotate) {
        if (code == BN_CLICKED) RotateClicked(dialog);
    } else if (id == IDC_CLOSE_BUTTON || id == IDCANCEL) {  // IDCANCEL: the Escape key
        CloseClicked(dialog);
    } else if (id == IDC_HELP_BUTTON) {
        ShowHelp(dialog, kind.help);
    } else {
        return false;
    }
    return true;
}

}  // namespace

INT_PTR RegionEditorDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const RegionEditorKind& kind) {
    if (HandleCloseRequest(dialog, message, wParam, IDC_CLOSE_BUTTON)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        qf::RunOrRecover([&] { OpenEditor(dialog, lParam, kind); }, [dialog] { CloseUnfilledDialog(dialog, 0); });
        return TRUE;
    case WM_COMMAND:
        return EditorCommand(dialog, LOWORD(wParam), HIWORD(wParam), kind) ? TRUE : FALSE;
    case WM_VSCROLL:
        CoordinateStepped(dialog, wParam, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_PAINT:
        PaintEditor(dialog);
        return TRUE;
    case WM_DESTROY:
        FreeDialogState<EditorState>(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

bool BrowseMonochromeBitmap(HWND dialog, qf::OverlayRegion& region, int pathControl) {
    wchar_t path[kFilePathChars + 1] = {};
    for (;;) {
        if (!ChooseFile(dialog, IDS_BITMAP_FILTER, path, L"bmp")) return false;
        MonochromeFile file;
        if (!ReadMonochromeFile(path, &file)) return false;
        if (qf::CheckMonochromeBitmap(file.bytes.get(), file.size, nullptr) == qf::BitmapCheck::Ok) break;
        ShowMessage(IDS_CAPTION, IDS_NOT_MONOCHROME, MB_OK | MB_ICONERROR);
    }
    std::memset(region.bitmapPath, 0, sizeof region.bitmapPath);
    std::memcpy(region.bitmapPath, path, sizeof(wchar_t) * static_cast<size_t>(lstrlenW(path)));
    SetDlgItemTextW(dialog, pathControl, path);
    return true;
}
