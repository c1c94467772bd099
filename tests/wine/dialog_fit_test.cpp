// Every text of every dialog of the module fits its control in the user's language (ctest
// runs these groups in each language's locale) at 96 and 144 DPI with a tenth of the
// control's width to spare, and the keyboard alone reaches every control. The dialog manager lays a
// template out in units of its font's average character width and height; the test does the
// same with the dialog's font made for each DPI, checks that layout against the real dialog
// at the screen's DPI, and measures each text with that font as its control draws it.
#include "tests/wine/wine_test.h"

#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/overlay/region_preview.h"
#include "driver/resources/resource.h"

namespace {

struct TemplateItem {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classOrdinal = 0;  // 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box; 0 for a named class
    std::wstring className;
    std::wstring text;
};

struct DialogTemplate {
    int id = 0;
    const void* bytes = nullptr;
    WORD pointSize = 8, weight = FW_NORMAL;
    BYTE italic = 0, charset = DEFAULT_CHARSET;
    std::wstring title, face;
    std::vector<TemplateItem> items;
};

// A name or ordinal field of a template: 0xFFFF and an ordinal, or a zero-ended text.
const WORD* ReadNameOrOrdinal(const WORD* at, WORD* ordinal, std::wstring* text) {
    if (*at == 0xFFFF) {
        if (ordinal) *ordinal = at[1];
        return at + 2;
    }
    std::wstring read;
    while (*at) read += static_cast<wchar_t>(*at++);
    if (text) *text = read;
    return at + 1;
}

const WORD* AlignedToDword(const void* base, const WORD* at) {
    const uintptr_t offset = reinterpret_cast<const BYTE*>(at) - static_cast<const BYTE*>(base);
    return reinterpret_cast<const WORD*>(static_cast<const BYTE*>(base) + ((offset + 3) & ~uintptr_t(3)));
}

// Reads an extended dialog template, the form the module's resource script gives every dialog.
bool ReadTemplate(const void* bytes, DialogTemplate* dialog) {
    const WORD* at = static_cast<const WORD*>(bytes);
    if (at[0] != 1 || at[1] != 0xFFFF) return false;
    DWORD style = 0;
    std::memcpy(&style, at + 6, sizeof style);
    const WORD count = at[8];
    at += 13;  // version, signature, help id, extended style, style, count, x, y, cx, cy
    at = ReadNameOrOrdinal(at, nullptr, nullptr);  // menu
    at = ReadNameOrOrdinal(at, nullptr, nullptr);  // class
    at = ReadNameOrOrdinal(at, nullptr, &dialog->title);
    if (style & DS_SETFONT) {
        dialog->pointSize = at[0];
        dialog->weight = at[1];
        dialog->italic = static_cast<BYTE>(at[2] & 0xFF);
        dialog->charset = static_cast<BYTE>(at[2] >> 8);
        at = ReadNameOrOrdinal(at + 3, nullptr, &dialog->face);
    }
    dialog->bytes = bytes;
    for (WORD i = 0; i < count; ++i) {
        at = AlignedToDword(bytes, at);
        TemplateItem item;
        std::memcpy(&item.style, at + 4, sizeof item.style);
        item.x = static_cast<short>(at[6]);
        item.y = static_cast<short>(at[7]);
        item.cx = static_cast<short>(at[8]);
        item.cy = static_cast<short>(at[9]);
        std::memcpy(&item.id, at + 10, sizeof item.id);
        at = ReadNameOrOrdinal(at + 12, &item.classOrdinal, &item.className);
        at = ReadNameOrOrdinal(at, nullptr, &item.text);
        const WORD extra = *at++;
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at) + extra);
        dialog->items.push_back(item);
    }
    return true;
}

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<int>*>(list)->push_back(static_cast<int>(LOWORD(name)));
    return TRUE;
}

// Every dialog of the module, in the language the loader picks for this user.
std::vector<DialogTemplate> ModuleDialogs() {
    std::vector<int> ids;
    EnumResourceNamesW(Driver(), RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&ids));
    std::vector<DialogTemplate> dialogs;
    for (const int id : ids) {
        HRSRC found = FindResourceW(Driver(), MAKEINTRESOURCEW(id), RT_DIALOG);
        const void* bytes = found ? LockResource(LoadResource(Driver(), found)) : nullptr;
        DialogTemplate dialog;
        dialog.id = id;
        if (bytes && ReadTemplate(bytes, &dialog)) dialogs.push_back(dialog);
        else ADD_FAILURE() << "dialog " << id << " cannot be read";
    }
    return dialogs;
}

// The dialog's font made for `dpi`, selected into a memory device context, and the dialog
// units it gives.
class DialogFont {
public:
    DialogFont(const DialogTemplate& dialog, int dpi) : dpi_(dpi) {
        LOGFONTW font = {};
        font.lfHeight = -MulDiv(dialog.pointSize, dpi, 72);
        font.lfWeight = dialog.weight;
        font.lfItalic = dialog.italic;
        font.lfCharSet = dialog.charset;
        wcsncpy(font.lfFaceName, dialog.face.c_str(), LF_FACESIZE - 1);
        font_ = CreateFontIndirectW(&font);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
        static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE size = {};
        GetTextExtentPoint32W(dc_, kAlphabet, 52, &size);
        baseX_ = (size.cx / 26 + 1) / 2;
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc_, &metrics);
        baseY_ = metrics.tmHeight;
    }
    ~DialogFont() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    RECT Pixels(const TemplateItem& item) const {
        // Each value is mapped on its own, the size too, as MapDialogRect does.
        const int left = MulDiv(item.x, baseX_, 4), top = MulDiv(item.y, baseY_, 8);
        return {left, top, left + MulDiv(item.cx, baseX_, 4), top + MulDiv(item.cy, baseY_, 8)};
    }
    int Scaled(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }
    // The size `text` takes when drawn in `width` pixels with `flags`.
    SIZE Measure(const std::wstring& text, int width, UINT flags) const {
        RECT rect = {0, 0, width, 0};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

private:
    int dpi_;
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int baseX_ = 0, baseY_ = 0;
};

// How far a control's text runs past its room, in pixels (0 when it fits), and which way.
struct Overflow {
    int width = 0, height = 0;
};

// The room a text may take in a control `width` pixels wide: a tenth of the width stays
// free, so that a platform font wider than the one measured here (the shell dialog font is
// another face on each system and in each language) still fits.
int RoomInWidth(int width) { return width - (width + 9) / 10; }

Overflow Measure(const DialogFont& font, const TemplateItem& item) {
    const RECT rect = font.Pixels(item);
    const int height = rect.bottom - rect.top;
    const int width = RoomInWidth(rect.right - rect.left);
    Overflow overflow;
    if (item.classOrdinal == 0x82) {
        const DWORD type = item.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) return overflow;
        const UINT flags = (type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK) | DT_EXPANDTABS |
                           ((item.style & SS_NOPREFIX) ? DT_NOPREFIX : 0u);
        const SIZE need = font.Measure(item.text, width, flags);
        overflow.width = need.cx - width;
        overflow.height = need.cy - height;
    } else if (item.classOrdinal == 0x80) {
        const SIZE need = font.Measure(item.text, 0, DT_SINGLELINE);
        switch (item.style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // Inside the button's raised edge and its focus rectangle.
            overflow.width = need.cx + 2 * font.Scaled(4) - width;
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            // After the box and the gap before the text.
            overflow.width = need.cx + font.Scaled(13) + font.Scaled(4) - width;
            break;
        case BS_GROUPBOX:
            // The caption starts inside the frame's corner and keeps the same room at its end.
            overflow.width = need.cx + 2 * font.Scaled(8) - width;
            break;
        default:
            break;
        }
    }
    overflow.width = overflow.width > 0 ? overflow.width : 0;
    overflow.height = overflow.height > 0 ? overflow.height : 0;
    return overflow;
}

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

std::string LanguageName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0);
    return Utf8(name);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The layout the test computes is the dialog manager's at the screen's DPI: every control of
// every dialog lies where the real dialog puts it.
TEST(DialogFit, TheComputedLayoutIsTheDialogManagers) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // A run on a screen of another DPI (QF_WINE_DPI) checks the layout at that DPI.
    char wanted[8] = {};
    if (GetEnvironmentVariableA("QF_WINE_DPI", wanted, sizeof wanted) > 0) {
        EXPECT_EQ(dpi, std::atoi(wanted));
    }
    const std::vector<DialogTemplate> dialogs = ModuleDialogs();
    ASSERT_GT(dialogs.size(), 10u);
    for (const DialogTemplate& dialog : dialogs) {
        HWND window = CreateDialogIndirectParamW(Driver(), static_cast<LPCDLGTEMPLATEW>(dialog.bytes), nullptr,
                                                 PlainDialog, 0);
        ASSERT_NE(window, nullptr) << "dialog " << dialog.id;
        const DialogFont font(dialog, dpi);
        HWND control = GetWindow(window, GW_CHILD);
        for (const TemplateItem& item : dialog.items) {
            ASSERT_NE(control, nullptr) << "dialog " << dialog.id;
            // Common controls such as the up-down arrows size themselves to their buddy.
            if (item.classOrdinal == 0) {
                control = GetWindow(control, GW_HWNDNEXT);
                continue;
            }
            RECT shown = {};
            GetWindowRect(control, &shown);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
            const RECT computed = font.Pixels(item);
            EXPECT_EQ(shown.left, computed.left) << "dialog " << dialog.id << " control " << item.id;
            EXPECT_EQ(shown.top, computed.top) << "dialog " << dialog.id << " control " << item.id;
            EXPECT_EQ(shown.right - shown.left, computed.right - computed.left)
                << "dialog " << dialog.id << " control " << item.id;
            control = GetWindow(control, GW_HWNDNEXT);
        }
        DestroyWindow(window);
    }
}

TEST(DialogFit, EveryTextFitsItsControlAt96And144DpiWithATenthToSpare) {
    const std::string language = LanguageName();
    for (const DialogTemplate& dialog : ModuleDialogs()) {
        for (const int dpi : {96, 144}) {
            const DialogFont font(dialog, dpi);
            for (const TemplateItem& item : dialog.items) {
                if (item.text.empty()) continue;
                const Overflow overflow = Measure(font, item);
                EXPECT_TRUE(overflow.width == 0 && overflow.height == 0)
                    << language << " dialog " << dialog.id << " (" << Utf8(dialog.title) << ") control " << static_cast<int>(item.id) << " \""
                    << Utf8(item.text) << "\" at " << dpi << " DPI: " << overflow.width << " px too wide for its room, "
                    << overflow.height << " px too high";
            }
        }
    }
}

// The region editors draw their preview inside its group box, below the group's title, in
// every language and at every DPI: the box follows the dialog's own font, as the dialog
// manager places the group with it.
TEST(DialogFit, ThePreviewBoxLiesInsideItsGroup) {
    const std::string language = LanguageName();
    for (const int id : {IDD_FRONT_OVERLAY, IDD_BACK_OVERLAY, IDD_HOLOGRAM_REGION}) {
        HWND window = CreateDialogParamW(Driver(), MAKEINTRESOURCEW(id), nullptr, PlainDialog, 0);
        ASSERT_NE(window, nullptr) << "dialog " << id;
        RECT group = {};
        GetWindowRect(GetDlgItem(window, IDC_PREVIEW_GROUP), &group);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&group), 2);
        RECT line = {0, 0, 4, 8};  // a line of the dialog's font: the group's title
        MapDialogRect(window, &line);
        const qf::PixelRect box = GetPreviewRect(window);
        EXPECT_TRUE(box.left > group.left && box.top >= group.top + line.bottom && box.right < group.right &&
                    box.bottom < group.bottom)
            << language << " dialog " << id << ": the box (" << box.left << ", " << box.top << ", " << box.right
            << ", " << box.bottom << ") leaves its group (" << group.left << ", " << group.top << ", " << group.right
            << ", " << group.bottom << ")";
        DestroyWindow(window);
    }
}

// Tab reaches every control a user works: each button, box, field, list and slider, and
// each group of radio buttons through its first button.
TEST(DialogKeyboard, TabReachesEveryControl) {
    const std::string language = LanguageName();
    for (const DialogTemplate& dialog : ModuleDialogs()) {
        HWND window = CreateDialogIndirectParamW(Driver(), static_cast<LPCDLGTEMPLATEW>(dialog.bytes), nullptr,
                                                 PlainDialog, 0);
        ASSERT_NE(window, nullptr) << "dialog " << dialog.id;
        std::set<HWND> reached;
        HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
        for (HWND at = first; at && reached.insert(at).second;) at = GetNextDlgTabItem(window, at, FALSE);
        HWND control = GetWindow(window, GW_CHILD);
        for (const TemplateItem& item : dialog.items) {
            ASSERT_NE(control, nullptr) << "dialog " << dialog.id;
            const DWORD type = item.style & BS_TYPEMASK;
            const bool radio = item.classOrdinal == 0x80 && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
            bool worked = item.classOrdinal == 0x81 || item.classOrdinal == 0x85 ||
                          (item.classOrdinal == 0x80 && type != BS_GROUPBOX) || item.className == L"msctls_trackbar32";
            if (radio && !(item.style & WS_GROUP)) worked = false;  // reached with the arrow keys
            EXPECT_TRUE(!worked || reached.count(control))
                << language << " dialog " << dialog.id << " (" << Utf8(dialog.title) << ") control "
                << static_cast<int>(item.id) << " \"" << Utf8(item.text) << "\" is not reached with Tab";
            control = GetWindow(control, GW_HWNDNEXT);
        }
        DestroyWindow(window);
    }
}

// Enter presses a dialog's default button, so each dialog has exactly one; Escape sends
// IDCANCEL, which every dialog of the module answers as its cancel or close button.
TEST(DialogKeyboard, EachDialogHasOneDefaultButton) {
    const std::string language = LanguageName();
    for (const DialogTemplate& dialog : ModuleDialogs()) {
        int defaults = 0;
        for (const TemplateItem& item : dialog.items)
            if (item.classOrdinal == 0x80 && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) ++defaults;
        EXPECT_EQ(defaults, 1) << language << " dialog " << dialog.id << " (" << Utf8(dialog.title) << ")";
    }
}

}  // namespace
