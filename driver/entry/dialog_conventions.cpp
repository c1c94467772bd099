// Message boxes, Help button and close box, shared by every dialog of the module.
#include "driver/entry/dialog_conventions.h"

#include <shellapi.h>

#include <cwchar>

#include "driver/entry/module_state.h"
#include "driver/resources/resource.h"

namespace {
constexpr int kCaptionChars = 32;
constexpr int kTextChars = 256;
constexpr int kHelpFileChars = 1024;
constexpr DWORD kPathChars = 1024;

// The directory of the module's own file, with its final backslash, in `directory`
// (kPathChars characters); false when it cannot be told.
bool ModuleDirectory(WCHAR* directory) {
    const DWORD length = GetModuleFileNameW(g_hInstance, directory, kPathChars);
    if (length == 0 || length >= kPathChars) return false;
    WCHAR* slash = wcsrchr(directory, L'\\');
    if (!slash) return false;
    slash[1] = L'\0';
    return true;
}

// `directory` followed by `name` in `path` (kPathChars characters); false when the
// whole path does not fit.
bool PathBeside(const WCHAR* directory, const WCHAR* name, WCHAR* path) {
    const size_t used = wcslen(directory), added = wcslen(name);
    if (used + added >= kPathChars) return false;
    wmemcpy(path, directory, used);
    wmemcpy(path + used, name, added + 1);
    return true;
}

bool IsFile(const WCHAR* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The manual's page in the user's browser; the shell tells success by a value above 32.
void OpenManualPage(HWND dialog, const WCHAR* page, const WCHAR* directory) {
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(dialog, L"open", page, nullptr, directory, SW_SHOWNORMAL));
    if (result <= 32) OutputDebugStringA("Unable to open the manual page\n");
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

void TellJobFailed() { ShowMessage(IDS_CAPTION, IDS_JOB_NOT_SENT, MB_OK | MB_ICONERROR); }

void ShowHelp(HWND dialog, qf::HelpTopic topic) {
    WCHAR file[kHelpFileChars] = {};
    if (LoadStringW(g_hInstance, IDS_HELP_FILE, file, kHelpFileChars) <= 0) {
        OutputDebugStringA("Unable to find HELP FILE\n");
        return;
    }
    WCHAR directory[kPathChars] = {}, helpFile[kPathChars] = {}, topicPage[kPathChars] = {},
          indexPage[kPathChars] = {};
    const bool placed =
        ModuleDirectory(directory) && PathBeside(directory, file, helpFile) &&
        PathBeside(directory, reinterpret_cast<const WCHAR*>(qf::HelpPage(topic)), topicPage) &&
        PathBeside(directory, reinterpret_cast<const WCHAR*>(qf::HelpPage(qf::HelpTopic::kIndex)), indexPage);
    switch (placed ? qf::ChooseHelp(IsFile(helpFile), IsFile(topicPage), IsFile(indexPage)) : qf::HelpAction::kNothing) {
        case qf::HelpAction::kHelpFile:
            WinHelpW(dialog, helpFile, HELP_CONTENTS, 0);
            break;
        case qf::HelpAction::kTopicPage:
            OpenManualPage(dialog, topicPage, directory);
            break;
        case qf::HelpAction::kIndexPage:
            OpenManualPage(dialog, indexPage, directory);
            break;
        case qf::HelpAction::kNothing:
            OutputDebugStringA("Unable to find HELP FILE\n");
            break;
    }
}

bool HandleCloseRequest(HWND dialog, UINT message, WPARAM wParam, int closeId) {
    if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(closeId, BN_CLICKED), 0);
    return true;
}

INT_PTR RunModuleDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param) {
    const INT_PTR result = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
    if (result == -1) ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK | MB_ICONERROR);
    return result;
}
