// Dialog scripts: a WH_CALLWNDPROCRET hook and a timer on each new dialog, so that the
// script runs inside the dialog's modal loop once the dialog is up.
#include "sim/dialog_script.h"

#include <commctrl.h>

#include <algorithm>

namespace sim {
namespace {

thread_local DialogScript* g_current = nullptr;

constexpr UINT_PTR kStartTimer = 0x51F1;
constexpr UINT_PTR kLeftOpenTimer = 0x51F2;

bool IsDialogWindow(HWND window) {
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && lstrcmpW(name, L"#32770") == 0;
}

}  // namespace

DialogScript::DialogScript(DWORD leftOpenMs) : previous_(g_current), leftOpenMs_(leftOpenMs) {
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
    g_current = this;
}

DialogScript::DialogScript(Script first, DWORD leftOpenMs) : DialogScript(leftOpenMs) { Then(std::move(first)); }

DialogScript::~DialogScript() {
    for (const Running& running : waiting_)
        if (IsWindow(running.dialog)) KillTimer(running.dialog, kStartTimer);
    if (hook_) UnhookWindowsHookEx(hook_);
    if (g_current == this) g_current = previous_;
}

DialogScript& DialogScript::Then(Script script) {
    queue_.push_back(std::move(script));
    return *this;
}

LRESULT CALLBACK DialogScript::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    DialogScript* self = g_current;
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && self && call) {
        if (call->message == WM_INITDIALOG && IsDialogWindow(call->hwnd)) {
            self->DialogInitialised(call->hwnd);
        } else if (call->message == WM_NCDESTROY) {
            // A dialog that ended before its loop ran leaves its script to the next one.
            auto& waiting = self->waiting_;
            auto found = std::find_if(waiting.begin(), waiting.end(),
                                      [&](const Running& r) { return r.dialog == call->hwnd; });
            if (found != waiting.end()) {
                self->queue_.push_front(std::move(found->script));
                waiting.erase(found);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogScript::DialogInitialised(HWND dialog) {
    Script script;
    if (!queue_.empty()) {
        script = std::move(queue_.front());
        queue_.pop_front();
    } else {
        unexpected_.push_back(WindowTitle(dialog));
        script = [](HWND d) { EndDialog(d, IDCANCEL); };
    }
    waiting_.push_back({dialog, std::move(script)});
    SetTimer(dialog, kStartTimer, 0, StartScript);
}

void CALLBACK DialogScript::StartScript(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    DialogScript* self = g_current;
    if (!self) return;
    auto found = std::find_if(self->waiting_.begin(), self->waiting_.end(),
                              [&](const Running& r) { return r.dialog == dialog; });
    if (found == self->waiting_.end()) return;
    Script script = std::move(found->script);
    self->waiting_.erase(found);
    // The modal loop shows the dialog once its queue is empty; a timer can come first.
    if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    ++self->ran_;
    script(dialog);
    // EndDialog hides the dialog; one still shown was left open by its script.
    if (IsWindow(dialog) && IsWindowVisible(dialog)) SetTimer(dialog, kLeftOpenTimer, self->leftOpenMs_, CancelLeftOpen);
}

void CALLBACK DialogScript::CancelLeftOpen(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    if (DialogScript* self = g_current) self->leftOpen_.push_back(WindowTitle(dialog));
    EndDialog(dialog, IDCANCEL);
}

bool ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowEnabled(button)) return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool SetControlText(HWND dialog, int id, const std::wstring& text) {
    HWND control = GetDlgItem(dialog, id);
    return control && SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control ? WindowTitle(control) : std::wstring();
}

bool DragSlider(HWND dialog, int id, int position) {
    HWND slider = GetDlgItem(dialog, id);
    if (!slider || !IsWindowEnabled(slider)) return false;
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    const int at = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const LPARAM from = reinterpret_cast<LPARAM>(slider);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, at), from);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, at), from);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), from);
    return true;
}

int SliderPosition(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0));
}

std::wstring WindowTitle(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // left for the loop that waits for it
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace sim
