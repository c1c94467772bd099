// Control texts and the open-file dialog of the maintenance dialogs.
#include "driver/ui/dialog_controls.h"

#include <commdlg.h>

#include <new>
#include <vector>

#include "driver/platform/code_pages.h"
#include "driver/platform/module_instance.h"
#include "driver/resources/resource.h"
#include "driver/ui/dialog_conventions.h"

std::string AnsiText(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(size) - 1);
    return ansi;
}

static_assert(qf::kNoBestFitChars == WC_NO_BEST_FIT_CHARS && qf::kErrorInvalidChars == WC_ERR_INVALID_CHARS &&
                  qf::kUtf8CodePage == CP_UTF8 && qf::kUtf7CodePage == CP_UTF7,
              "the code-page rule names the platform's values");

std::optional<std::string> ExactAnsiPath(const wchar_t* path) {
    if (!path || !path[0]) return std::string();
    // Only flags the code page takes: a UTF-8 code page takes neither the best-fit flag nor
    // the used-default question.
    const qf::ExactConversion conversion = qf::ExactConversionFor(GetACP());
    const DWORD flags = conversion.flags;
    BOOL usedDefault = FALSE;
    BOOL* used = conversion.askUsedDefault ? &usedDefault : nullptr;
    const int size = WideCharToMultiByte(CP_ACP, flags, path, -1, nullptr, 0, nullptr, used);
    if (size <= 1 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, path, -1, &ansi[0], size, nullptr, used) != size || usedDefault)
        return std::nullopt;
    ansi.resize(static_cast<size_t>(size) - 1);
    return ansi;
}

std::optional<std::string> UsablePath(const wchar_t* path) {
    std::optional<std::string> ansi = ExactAnsiPath(path);
    if (!ansi) ShowMessage(IDS_CAPTION, IDS_PATH_UNUSABLE, MB_OK | MB_ICONERROR);
    return ansi;
}

std::optional<std::string> UsableControlPath(HWND dialog, int id) {
    const int length = GetWindowTextLengthW(GetDlgItem(dialog, id));
    std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(text.size()));
    return UsablePath(text.data());
}

std::string ControlAnsiText(HWND dialog, int id, size_t chars) {
    std::vector<wchar_t> text(chars + 1, L'\0');
    GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(text.size()));
    return AnsiText(text.data());
}

std::wstring PrinterText(std::string_view bytes) {
    std::wstring wide;
    if (bytes.empty()) return wide;
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    wide.resize(static_cast<size_t>(size > 0 ? size : 0));
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], size);
    return wide;
}

void SetControlAnsiText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextW(dialog, id, PrinterText(text).c_str());
}

std::wstring LoadModuleText(UINT stringId) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the string table hands out its own read-only copy.
    const int length = LoadStringW(g_hInstance, stringId, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

void EnableControl(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE); }

namespace {

// Static texts and group boxes show; they change nothing.
bool OnlyShows(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Static") == 0) return true;
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    return lstrcmpiW(className, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

}  // namespace

void ShowSettingsViewOnly(HWND dialog, int closeId, std::initializer_list<int> kept) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(control);
        bool keep = id == closeId || id == IDC_HELP_BUTTON || OnlyShows(control);
        for (const int shown : kept) keep = keep || id == shown;
        if (!keep) EnableWindow(control, FALSE);
    }
    const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID && LOWORD(defaultId) != closeId)
        SendDlgItemMessageW(dialog, LOWORD(defaultId), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(closeId), 0);
    SendDlgItemMessageW(dialog, closeId, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    ShowWindow(GetDlgItem(dialog, IDC_ADMIN_NOTICE), SW_SHOWNA);
}

void SetControlString(HWND dialog, int id, UINT stringId) {
    SetDlgItemTextW(dialog, id, LoadModuleText(stringId).c_str());
}

bool ChooseFile(HWND owner, UINT filterId, wchar_t* path, const wchar_t* defaultExtension) {
    // The filter's pieces end with zero characters; a second one ends the list. A filter
    // that cannot be made (memory running short) leaves the button the user pressed with
    // no dialog at all: the user is told.
    std::wstring filter;
    try {
        filter = LoadModuleText(filterId);
        for (wchar_t& c : filter)
            if (c == L'|') c = L'\0';
        filter += L'\0';
    } catch (const std::bad_alloc&) {
        filter.clear();
    }
    if (filter.size() < 2) {
        TellSystemError();
        return false;
    }
    path[kFilePathChars] = L'\0';
    OPENFILENAMEW choice = {};
    // The Windows NT 4 layout: the newer fields at the end are not used.
    choice.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    choice.hwndOwner = owner;
    choice.lpstrFilter = filter.c_str();
    choice.nFilterIndex = 1;
    choice.lpstrFile = path;
    choice.nMaxFile = kFilePathChars;
    choice.lpstrDefExt = defaultExtension;
    choice.Flags = OFN_CREATEPROMPT | OFN_NOLONGNAMES;
    if (!GetOpenFileNameW(&choice)) return false;
    path[kFilePathChars] = L'\0';
    return true;
}
