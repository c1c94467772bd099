// Message boxes, Help button and close box, shared by every dialog of the module.
#include "driver/entry/dialog_conventions.h"

#include "driver/entry/module_state.h"
#include "driver/resources/resource.h"

namespace {
constexpr int kCaptionChars = 32;
constexpr int kTextChars = 256;
constexpr int kHelpFileChars = 1024;
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

void ShowHelp(HWND dialog) {
    WCHAR file[kHelpFileChars] = {};
    if (LoadStringW(g_hInstance, IDS_HELP_FILE, file, kHelpFileChars) <= 0) {
        OutputDebugStringA("Unable to find HELP FILE\n");
        return;
    }
    WinHelpW(dialog, file, HELP_CONTENTS, 0);
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
