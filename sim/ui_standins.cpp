// Message box, help and debugger-output stand-ins.
#include "sim/ui_standins.h"

#include <cstdio>
#include <cwchar>
#include <mutex>

namespace sim {
namespace {

int FirstButton(UINT flags) {
    switch (flags & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

}  // namespace

UiLog& Ui() {
    static UiLog log;
    return log;
}

void ResetUi() {
    const bool echo = Ui().echo;
    const bool realFileDialog = Ui().realFileDialog;
    Ui() = UiLog();
    Ui().echo = echo;
    Ui().realFileDialog = realFileDialog;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

// The logs are kept whole while the driver is called on many threads.
std::recursive_mutex& UiLock() {
    static std::recursive_mutex lock;
    return lock;
}

int WINAPI SimMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
    const std::lock_guard<std::recursive_mutex> hold(UiLock());
    MessageBoxRecord record{owner, caption ? caption : L"", text ? text : L"", flags};
    Ui().messageBoxes.push_back(record);
    const int answer = Ui().answer ? Ui().answer(record) : FirstButton(flags);
    if (Ui().echo)
        std::printf("message box [%s] \"%s\" -> %d\n", Utf8(record.caption).c_str(),
                    Utf8(record.text).c_str(), answer);
    return answer;
}

BOOL WINAPI SimGetOpenFileNameW(LPOPENFILENAMEW choice) {
    if (!choice || !choice->lpstrFile || choice->nMaxFile == 0) return FALSE;
    OpenFileRecord record;
    record.owner = choice->hwndOwner;
    for (const wchar_t* piece = choice->lpstrFilter; piece && *piece; piece += lstrlenW(piece) + 1)
        record.filter += std::wstring(piece) + L"|";
    record.defaultExtension = choice->lpstrDefExt ? choice->lpstrDefExt : L"";
    record.flags = choice->Flags;
    record.maxFile = choice->nMaxFile;
    record.structSize = choice->lStructSize;
    record.initialName.assign(choice->lpstrFile, wcsnlen(choice->lpstrFile, choice->nMaxFile));
    UiLog& ui = Ui();
    BOOL chosen = FALSE;
    if (!ui.fileChoices.empty()) {
        const std::wstring path = ui.fileChoices.front();
        ui.fileChoices.pop_front();
        if (!path.empty() && path.size() < choice->nMaxFile) {
            lstrcpynW(choice->lpstrFile, path.c_str(), static_cast<int>(choice->nMaxFile));
            chosen = TRUE;
        }
    } else if (ui.realFileDialog) {
        // The platform's dialog, found by name: this program's own import of it is routed here.
        using OpenFileFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
        HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
        auto platform = reinterpret_cast<OpenFileFn>(
            reinterpret_cast<void*>(dialogs ? GetProcAddress(dialogs, "GetOpenFileNameW") : nullptr));
        if (platform) chosen = platform(choice);
        if (dialogs) FreeLibrary(dialogs);
    }
    if (chosen) record.chosen = choice->lpstrFile;
    ui.openFileDialogs.push_back(record);
    if (ui.echo)
        std::printf("open-file dialog [%s] -> %s\n", Utf8(record.filter).c_str(),
                    chosen ? Utf8(record.chosen).c_str() : "cancelled");
    return chosen;
}

BOOL WINAPI SimWinHelpW(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
    const std::lock_guard<std::recursive_mutex> hold(UiLock());
    Ui().helpCalls.push_back({window, file ? file : L"", command, data});
    if (Ui().echo) std::printf("help %s command %u\n", Utf8(file ? file : L"").c_str(), command);
    return Ui().helpResult;
}

HINSTANCE WINAPI SimShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show) {
    Ui().shellCalls.push_back({window, verb ? verb : L"", file ? file : L"", parameters ? parameters : L"",
                               directory ? directory : L"", show});
    if (Ui().echo) std::printf("shell %s %s\n", Utf8(verb ? verb : L"").c_str(), Utf8(file ? file : L"").c_str());
    return reinterpret_cast<HINSTANCE>(Ui().shellResult);
}

void WINAPI SimOutputDebugStringA(LPCSTR text) {
    const std::lock_guard<std::recursive_mutex> hold(UiLock());
    Ui().debugTraces.push_back(text ? text : "");
    if (Ui().echo) std::printf("debug: %s", text ? text : "");
}

void WINAPI SimOutputDebugStringW(LPCWSTR text) {
    SimOutputDebugStringA(Utf8(text ? text : L"").c_str());
}

}  // namespace sim
