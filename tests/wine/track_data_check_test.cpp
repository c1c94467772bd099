// The track data check on real edit controls, in a window that checks each edit as the
// Tools dialog does: on every EN_UPDATE. These run on the driver code linked into the
// test program.
#include "tests/wine/wine_test.h"

#include <string>

#include "driver/encoder/track_data_check.h"
#include "driver/settings/module_state.h"
#include "sim/dialog_script.h"

namespace {

constexpr int kFirstEdit = 1959;

LRESULT CALLBACK TracksWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) {
        CheckTrackData(window, LOWORD(wParam) - kFirstEdit + 1);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class TrackDataCheck : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetModuleState(Driver());
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = TracksWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QfTrackDataTest";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"QfTrackDataTest", L"Tracks", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        for (int track = 0; track < 3; ++track)
            CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 30 * track, 380, 24, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstEdit + track)),
                            GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        DriverTest::TearDown();
    }
    // Types `text` into the edit of `track` at once, as a paste does.
    std::wstring Type(int track, const std::wstring& text) {
        sim::Ui().messageBoxes.clear();
        sim::SetControlText(window, kFirstEdit + track - 1, text);
        return sim::ControlText(window, kFirstEdit + track - 1);
    }
    std::vector<std::wstring> Messages() {
        std::vector<std::wstring> texts;
        for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes) {
            EXPECT_EQ(box.caption, L"Varlo Halvard Line Printer");
            EXPECT_EQ(box.flags, UINT(MB_OK));
            texts.push_back(box.text);
        }
        return texts;
    }
    HWND window = nullptr;
};

const std::wstring kInvalid = L"Invalid Character for encoding";
const std::wstring kTooLong = L"Exceeding number of characters that could be encoded on track";

TEST_F(TrackDataCheck, Track1) {
    EXPECT_EQ(Type(1, L"AB 12 $(x)"), L"AB 12 $(");
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid}));
    EXPECT_EQ(Type(1, L"ABC 123 $()-./^"), L"ABC 123 $()-./^");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Type(1, std::wstring(77, L'A')), std::wstring(76, L'A'));
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kTooLong}));
    // ASCII only: the platform's wide classification would take these letters, digits and
    // spaces, a magnetic stripe cannot hold them.
    const std::pair<const wchar_t*, const wchar_t*> nonAscii[] = {
        {L"AB\u00C4", L"AB"}, {L"A\uFF21", L"A"}, {L"12\u0663", L"12"}, {L"A\u00A0B", L"A"}, {L"A\u3000B", L"A"},
    };
    for (const auto& [typed, kept] : nonAscii) {
        EXPECT_EQ(Type(1, typed), kept) << sim::Utf8(typed);
        EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid})) << sim::Utf8(typed);
    }
}

TEST_F(TrackDataCheck, Track2) {
    EXPECT_EQ(Type(2, L"1234=5678"), L"1234=5678");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Type(2, L"12A34"), L"12");
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid}));
    EXPECT_EQ(Type(2, L"12\uFF13=4"), L"12");  // a fullwidth digit
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid}));
    // Two characters too many: shortened by one, checked again, shortened once more.
    EXPECT_EQ(Type(2, std::wstring(39, L'1')), std::wstring(37, L'1'));
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kTooLong, kTooLong}));
}

TEST_F(TrackDataCheck, Track3AndOtherTracks) {
    EXPECT_EQ(Type(3, std::wstring(105, L'9')), std::wstring(104, L'9'));
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kTooLong}));
    EXPECT_EQ(Type(3, L"99x"), L"99");
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid}));
    sim::Ui().messageBoxes.clear();
    sim::SetControlText(window, kFirstEdit, L"abc");  // seen as track 1: cut
    CheckTrackData(window, 0);
    CheckTrackData(window, 4);
    EXPECT_EQ(Messages(), std::vector<std::wstring>({kInvalid}));
}

}  // namespace
