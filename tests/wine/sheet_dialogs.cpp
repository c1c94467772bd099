// Helpers of the tests of the device sheet's dialogs.
#include "tests/wine/sheet_dialogs.h"

#include "sim/files.h"

std::wstring DeviceSheetDialogs::MakeFile(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = spooler().DriverDirectory() + name;
    EXPECT_TRUE(sim::WriteWholeFile(path, bytes)) << sim::Utf8(path);
    return path;
}

std::string Text(HWND dialog, int id) { return sim::Utf8(sim::ControlText(dialog, id)); }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string Ansi(const std::wstring& path) {
    char ansi[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

void AnswerNoTo(const std::wstring& refused) {
    sim::Ui().answer = [refused](const sim::MessageBoxRecord& box) {
        const UINT type = box.flags & MB_TYPEMASK;
        if (box.text.compare(0, refused.size(), refused) == 0) return type == MB_YESNO ? IDNO : IDCANCEL;
        return type == MB_YESNO ? IDYES : IDOK;
    };
}
