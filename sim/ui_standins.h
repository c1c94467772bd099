// Stand-ins for the user-facing platform calls the driver makes outside its own
// windows: message boxes and the open-file dialog (recorded and answered from a
// script), help calls, the shell's open verb and debugger output (recorded).
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace sim {

struct MessageBoxRecord {
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    UINT flags = 0;
};

struct HelpCall {
    HWND window = nullptr;
    std::wstring file;
    UINT command = 0;
    ULONG_PTR data = 0;
};

// One use of the shell's ShellExecuteW: the driver opens a page of its manual.
struct ShellCall {
    HWND window = nullptr;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int show = 0;
};

// One use of the open-file dialog, as the driver asked for it.
struct OpenFileRecord {
    HWND owner = nullptr;
    std::wstring filter;      // the filter pieces, each followed by '|'
    std::wstring defaultExtension;
    DWORD flags = 0;
    DWORD maxFile = 0;        // characters the driver's path buffer holds
    DWORD structSize = 0;     // lStructSize: the layout of the request
    std::wstring initialName; // the name box's text when the dialog opened
    std::wstring chosen;      // empty: cancelled
};

struct UiLog {
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<HelpCall> helpCalls;
    std::vector<ShellCall> shellCalls;
    // What ShellExecuteW answers: above 32 is success (the browser opened the page).
    INT_PTR shellResult = 42;
    // What WinHelpW answers: FALSE as on a system without a help viewer.
    BOOL helpResult = TRUE;
    std::vector<std::string> debugTraces;  // wide traces are recorded as UTF-8
    // Answers a message box; by default the first button of its kind.
    std::function<int(const MessageBoxRecord&)> answer;
    std::vector<OpenFileRecord> openFileDialogs;
    // The answers of the open-file dialog, in order: a path is chosen, an empty text
    // cancels. With none left the dialog is cancelled, or, with `realFileDialog`, the
    // platform's own dialog asks the user.
    std::deque<std::wstring> fileChoices;
    bool realFileDialog = false;
    // Also print each record to standard output (the workbench does).
    bool echo = false;
};

UiLog& Ui();
void ResetUi();

int WINAPI SimMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);
BOOL WINAPI SimGetOpenFileNameW(LPOPENFILENAMEW choice);
BOOL WINAPI SimWinHelpW(HWND window, LPCWSTR file, UINT command, ULONG_PTR data);
HINSTANCE WINAPI SimShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show);
void WINAPI SimOutputDebugStringA(LPCSTR text);
void WINAPI SimOutputDebugStringW(LPCWSTR text);

std::string Utf8(const std::wstring& text);

}  // namespace sim
