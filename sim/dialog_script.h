// Drives modal dialogs from inside their own message loop: a thread hook sees each
// dialog finish WM_INITDIALOG and runs the next queued script in that dialog's loop,
// where it works the real controls and ends the dialog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace sim {

class DialogScript {
public:
    using Script = std::function<void(HWND dialog)>;

    // Installs the hook for the calling thread; while this object lives, every dialog
    // created on the thread takes the next script of the queue. A dialog that finds the
    // queue empty is recorded in Unexpected() and cancelled, and a dialog its script
    // left open is cancelled after `leftOpenMs`, so nothing waits for a person. Objects
    // nest: the newest one drives until it is destroyed.
    explicit DialogScript(DWORD leftOpenMs = 10000);
    explicit DialogScript(Script first, DWORD leftOpenMs = 10000);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Queues a script for the next dialog (a nested dialog opened by a script takes the
    // script queued after the one running).
    DialogScript& Then(Script script);

    bool Installed() const { return hook_ != nullptr; }
    int Ran() const { return ran_; }
    int Pending() const { return static_cast<int>(queue_.size()); }
    // Titles of the dialogs that found no script, and of those their script left open.
    const std::vector<std::wstring>& Unexpected() const { return unexpected_; }
    const std::vector<std::wstring>& LeftOpen() const { return leftOpen_; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK StartScript(HWND dialog, UINT message, UINT_PTR id, DWORD time);
    static void CALLBACK CancelLeftOpen(HWND dialog, UINT message, UINT_PTR id, DWORD time);
    void DialogInitialised(HWND dialog);

    struct Running {
        HWND dialog;
        Script script;
    };

    HHOOK hook_ = nullptr;
    DialogScript* previous_ = nullptr;
    DWORD leftOpenMs_;
    std::deque<Script> queue_;
    std::vector<Running> waiting_;  // dialogs whose script has not started yet
    std::vector<std::wstring> unexpected_;
    std::vector<std::wstring> leftOpen_;
    int ran_ = 0;
};

// Clicks a button of a dialog as the user does: BN_CLICKED through BM_CLICK when the
// button exists and is enabled. Returns whether it did.
bool ClickButton(HWND dialog, int id);
// Sets the text of a control (WM_SETTEXT, which also raises the edit's EN_CHANGE).
bool SetControlText(HWND dialog, int id, const std::wstring& text);
std::wstring ControlText(HWND dialog, int id);
// Moves a trackbar as a drag by the user does: the thumb goes to `position` (within the
// trackbar's range) and the dialog gets WM_HSCROLL with TB_THUMBTRACK, then
// TB_THUMBPOSITION and TB_ENDTRACK. Returns false when the trackbar is missing or disabled.
bool DragSlider(HWND dialog, int id, int position);
int SliderPosition(HWND dialog, int id);
std::wstring WindowTitle(HWND window);
// Pumps the thread's pending messages, so that a window shows what it was told.
void PumpMessages();

}  // namespace sim
