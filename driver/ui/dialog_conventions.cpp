// Message boxes, Help button and close box, shared by every dialog of the module.
#include "driver/ui/dialog_conventions.h"

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "driver/platform/guard.h"
#include "driver/platform/module_instance.h"
#include "driver/resources/resource.h"

namespace {
constexpr int kCaptionChars = 32;
constexpr int kTextChars = 256;
// The longest path the platform's wide file functions take (with the "\\?\" form).
constexpr size_t kLongestPath = 32767;

// The directory of the module's own file, with its final backslash; empty when it cannot
// be told. The buffer grows until the whole path fits: a module may lie in a folder whose
// path is longer than MAX_PATH.
std::wstring ModuleDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_hInstance, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() > kLongestPath) return std::wstring();
        path.resize(path.size() * 2);
    }
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash + 1);
    return path;
}

// A path longer than MAX_PATH in the form the wide file functions take it in ("\\?\C:\..."
// or "\\?\UNC\server\..."); a shorter one as it is.
std::wstring FileFunctionPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

// A path another program can be handed: the path itself when it is shorter than MAX_PATH,
// else its short form when that is; empty when neither fits.
std::wstring PathForAnotherProgram(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::wstring full = FileFunctionPath(path);
    const DWORD needed = GetShortPathNameW(full.c_str(), nullptr, 0);
    if (needed == 0) return std::wstring();
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(full.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed) return std::wstring();
    shortPath.resize(length);
    if (shortPath.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        shortPath = L"\\\\" + shortPath.substr(8);
    else if (shortPath.compare(0, 4, L"\\\\?\\") == 0)
        shortPath = shortPath.substr(4);
    return shortPath.size() < MAX_PATH ? shortPath : std::wstring();
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(FileFunctionPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The help file in the help viewer; false when there is no viewer (current Windows has
// none) or the file cannot be handed to it.
bool OpenHelpFile(HWND dialog, const std::wstring& file) {
    const std::wstring handed = PathForAnotherProgram(file);
    return !handed.empty() && WinHelpW(dialog, handed.c_str(), HELP_CONTENTS, 0);
}

// The manual's page in the user's browser; the shell tells success by a value above 32.
bool OpenManualPage(HWND dialog, const std::wstring& page, const std::wstring& directory) {
    const std::wstring handed = PathForAnotherProgram(page), folder = PathForAnotherProgram(directory);
    if (handed.empty()) return false;
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(dialog, L"open", handed.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
                      SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace

int ShowMessage(UINT captionId, UINT textId, UINT flags) {
    WCHAR text[kTextChars] = {};
    LoadStringW(g_hInstance, textId, text, kTextChars);
    return ShowMessageText(captionId, text, flags);
}

int ShowMessageText(UINT captionId, const wchar_t* text, UINT flags) {
    WCHAR caption[kCaptionChars] = {};
    LoadStringW(g_hInstance, captionId, caption, kCaptionChars);
    return MessageBoxW(GetActiveWindow(), text, caption, flags);
}

int ShowMessageNaming(UINT captionId, UINT textId, const wchar_t* name, UINT flags) {
    WCHAR format[kTextChars] = {};
    LoadStringW(g_hInstance, textId, format, kTextChars);
    std::wstring text = format;
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, name);
    return ShowMessageText(captionId, text.c_str(), flags);
}

void TellSystemError() { ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK | MB_ICONERROR); }

void CloseUnfilledDialog(HWND dialog, INT_PTR result) {
    TellSystemError();
    EndDialog(dialog, result);
}

namespace {

// The folder of the manual in the user's language when one is installed beside the module
// (it holds the window's page or the contents page), else the module's own folder.
std::wstring ManualDirectory(const std::wstring& directory, qf::HelpTopic topic) {
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), locale, LOCALE_NAME_MAX_LENGTH, 0) <= 0)
        return directory;
    for (const std::u16string& folder : qf::ManualLanguageFolders(reinterpret_cast<const char16_t*>(locale))) {
        const std::wstring candidate = directory + reinterpret_cast<const wchar_t*>(folder.c_str());
        if (IsFile(candidate + reinterpret_cast<const wchar_t*>(qf::HelpPage(topic))) ||
            IsFile(candidate + reinterpret_cast<const wchar_t*>(qf::HelpPage(qf::HelpTopic::kIndex))))
            return candidate;
    }
    return directory;
}

}  // namespace

void TellJobFailed() { ShowMessage(IDS_CAPTION, IDS_JOB_NOT_SENT, MB_OK | MB_ICONERROR); }

void ShowHelp(HWND dialog, qf::HelpTopic topic) {
    const WCHAR* file = reinterpret_cast<const WCHAR*>(qf::kHelpFileName);
    const std::wstring directory = ModuleDirectory();
    std::wstring helpFile, topicPage, indexPage, manual;
    if (!directory.empty()) {
        helpFile = directory + file;
        manual = ManualDirectory(directory, topic);
        topicPage = manual + reinterpret_cast<const WCHAR*>(qf::HelpPage(topic));
        indexPage = manual + reinterpret_cast<const WCHAR*>(qf::HelpPage(qf::HelpTopic::kIndex));
    }
    const bool topicPresent = !directory.empty() && IsFile(topicPage);
    const bool indexPresent = !directory.empty() && IsFile(indexPage);
    const bool helpFilePresent = !directory.empty() && IsFile(helpFile);
    switch (qf::ChooseHelp(helpFilePresent, topicPresent, indexPresent)) {
    case qf::HelpAction::kTopicPage:
        if (OpenManualPage(dialog, topicPage, directory)) return;
        break;
    case qf::HelpAction::kIndexPage:
        if (OpenManualPage(dialog, indexPage, directory)) return;
        break;
    case qf::HelpAction::kHelpFile:
        if (OpenHelpFile(dialog, helpFile)) return;
        OutputDebugStringA("Unable to open the help file\n");
        ShowMessage(IDS_CAPTION, IDS_HELP_MISSING, MB_OK | MB_ICONINFORMATION);
        return;
    case qf::HelpAction::kNothing:
        OutputDebugStringA("Unable to find HELP FILE\n");
        ShowMessage(IDS_CAPTION, IDS_HELP_MISSING, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // A page nothing opened: the help file, when there is one, may still have a viewer.
    OutputDebugStringA("Unable to open the manual page\n");
    if (helpFilePresent && OpenHelpFile(dialog, helpFile)) return;
    ShowMessageNaming(IDS_CAPTION, IDS_HELP_NOT_OPENED, (topicPresent ? topicPage : indexPage).c_str(),
                      MB_OK | MB_ICONINFORMATION);
}

bool HandleCloseRequest(HWND dialog, UINT message, WPARAM wParam, int closeId) {
    if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(closeId, BN_CLICKED), 0);
    return true;
}

INT_PTR RunDialogShape(const DialogShape& shape, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, shape.closeId)) return TRUE;
        switch (message) {
        case WM_INITDIALOG: {
            if (!shape.fillsAtOpen) return shape.open(dialog, lParam);
            INT_PTR answer = TRUE;
            qf::RunOrRecover([&] { answer = shape.open(dialog, lParam); },
                             [&] { CloseUnfilledDialog(dialog, shape.unfilledResult); });
            return answer;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (shape.command && shape.command(dialog, id, HIWORD(wParam))) return TRUE;
            if (id == IDC_HELP_BUTTON && shape.help) {
                ShowHelp(dialog, *shape.help);
                return TRUE;
            }
            if (id != shape.closeId && id != IDCANCEL) return FALSE;
            EndDialog(dialog, shape.closeId);
            return TRUE;
        }
        case WM_DESTROY:
            if (shape.close) shape.close(dialog);
            return FALSE;
        default:
            return shape.other ? shape.other(dialog, message, wParam, lParam) : FALSE;
        }
    });
}

INT_PTR RunModuleDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param) {
    const INT_PTR result = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
    if (result == -1) TellSystemError();
    return result;
}
