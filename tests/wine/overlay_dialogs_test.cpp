// The overlay varnish editors, the hologram region editor and the hologram varnish
// dialog, opened through the document sheet's push buttons with the property-sheet
// service stand-in and worked through their real controls; the hologram jobs read from
// the simulated spooler's job log.
#include "tests/wine/wine_test.h"

#include <cstddef>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "driver/overlay/hologram_decoder.h"
#include "driver/overlay/hologram_stream.h"
#include "driver/overlay/region_preview.h"
#include "driver/overlay/region_rules.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"
#include "driver/state/sheet_state.h"
#include "sim/allocation_fault.h"
#include "sim/dialog_script.h"
#include "sim/faults.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

// The module's document sheet whose page the service holds: the page lies inside the
// sheet's own state (the page's UserData is the sheet's number, not its address).
DocumentSheetState* SheetOfPage(COMPROPSHEETUI* page) {
    return reinterpret_cast<DocumentSheetState*>(reinterpret_cast<uint8_t*>(page) - offsetof(DocumentSheetState, page));
}

constexpr int kFrontItem = 10, kBackItem = 11, kHologramItem = 12, kBothSidesItem = 5, kPrintingModeItem = 14;

// A BMP file of `bits` bits per pixel whose pixel (x, y), y from the top, is white
// when `white` says so. The rows follow a two-entry colour table, as the module reads
// them.
std::string BmpFile(int width, int height, int bits, const std::function<bool(int, int)>& white) {
    const int stride = (width * bits + 31) / 32 * 4;
    const int offset = 14 + 40 + (bits == 1 ? 8 : 0);
    std::string file(static_cast<size_t>(offset + stride * height), '\0');
    auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, static_cast<uint32_t>(offset));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = static_cast<char>(bits);
    if (bits == 1) put32(58, 0x00FFFFFF);
    for (int y = 0; y < height; ++y) {
        const size_t row = static_cast<size_t>(offset + (height - 1 - y) * stride);
        for (int x = 0; x < width; ++x) {
            if (!white(x, y)) continue;
            if (bits == 1)
                file[row + x / 8] = static_cast<char>(file[row + x / 8] | (0x80 >> (x % 8)));
            else
                for (int b = 0; b < bits / 8; ++b) file[row + x * bits / 8 + b] = static_cast<char>(0xFF);
        }
    }
    return file;
}

// A 1-bit BMP file laid out as image editors may write it: an information header of
// `infoSize` bytes (40, or 108 and 124 as many editors write by default), the rows top
// line first for `topDown` (a negative height), and `gap` bytes between the colour table
// and the rows, which the file's own pixel offset skips.
std::string LaidOutBmpFile(int width, int height, const std::function<bool(int, int)>& white, uint32_t infoSize,
                           bool topDown, uint32_t gap = 0) {
    const std::string classic = BmpFile(width, height, 1, white);
    const size_t stride = static_cast<size_t>((width + 31) / 32 * 4);
    const size_t offset = 14 + infoSize + 8 + gap;
    std::string file(offset, '\0');
    std::memcpy(&file[0], classic.data(), 14 + 40);
    auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(10, static_cast<uint32_t>(offset));
    put32(14, infoSize);
    if (topDown) put32(22, static_cast<uint32_t>(-height));
    std::memcpy(&file[14 + infoSize], classic.data() + 54, 8);  // the colour table
    for (size_t at = 14 + infoSize + 8; at < offset; ++at) file[at] = static_cast<char>(0xA5);
    for (int row = 0; row < height; ++row) {
        // The classic file holds the bottom line first.
        const int stored = topDown ? height - 1 - row : row;
        file.append(classic, 62 + static_cast<size_t>(stored) * stride, stride);
    }
    put32(2, static_cast<uint32_t>(file.size()));
    return file;
}

// An upright card picture that tells every corner and both axes apart: black, with a
// white block near the top left, a white column near the right edge in the lower half,
// and the four corner dots white.
bool AsymmetricDot(int x, int y) {
    if ((x == 0 || x == 1023) && (y == 0 || y == 639)) return true;
    if (x >= 40 && x < 200 && y >= 20 && y < 90) return true;
    if (x >= 1000 && x < 1010 && y >= 400) return true;
    return (x * 7 + y * 3) % 61 == 0;
}

std::string Bytes(const std::vector<uint8_t>& block) { return std::string(block.begin(), block.end()); }

void ChooseType(HWND dialog, int list, int index) {
    SendDlgItemMessageW(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

int ChosenType(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0)); }

// Clicks an up-down's upper (increasing) arrow as the mouse does.
void StepUp(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT box;
    GetClientRect(control, &box);
    const LPARAM at = MAKELPARAM(box.right / 2, 2);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

int UpDownPosition(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, UDM_GETPOS32, 0, 0));
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

COLORREF PreviewPixel(HWND dialog, double fx, double fy) {
    // The preview box inside the group box, as the editors place it (DialogFit checks that
    // it lies inside the group in every language).
    const qf::PixelRect box = GetPreviewRect(dialog);
    const int left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    UpdateWindow(dialog);
    HDC dc = GetDC(dialog);
    const COLORREF pixel = GetPixel(dc, left + static_cast<int>((right - left) * fx),
                                    top + static_cast<int>((bottom - top) * fy));
    ReleaseDC(dialog, dc);
    return pixel;
}

class OverlayDialogs : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Record stored = DriverRecord();
        Private(stored).ribbonType = qf::kRibbonClearVarnish;
        printer().devmode = stored;
        printer().card.fault = sim::PortFault::kNoAnswer;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        out.assign(qf::kRecordSize, 0xCD);
        header = DOCUMENTPROPERTYHEADER();
        header.cbSize = sizeof header;
        header.hPrinter = handle;
        header.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
        header.pdmOut = Devmode(out);
        header.cbOut = qf::kRecordSize;
        header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
        qf::PrivateSettings& s = Stored();
        s.frontOverlay.overlayType = qf::kOverlayFull;
        s.frontOverlay.rotated = 0;
        SetArea(s.frontOverlay, 100, 50, 300, 150);
        s.backOverlay = s.frontOverlay;
        s.hologramOverlay.enabled = 1;
        s.hologramOverlay.copies = 1;
        s.hologramOverlay.region = s.frontOverlay;
        s.headSettings[2] = 5;
        s.printBothSides = 0;
        whiteFile = MakeFile(L"white.bmp", BmpFile(64, 40, 1, [](int, int) { return true; }));
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    static void SetArea(qf::OverlayRegion& region, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
        region.left = left;
        region.top = top;
        region.right = right;
        region.bottom = bottom;
    }
    static void SetPath(qf::OverlayRegion& region, const std::wstring& path) {
        std::memset(region.bitmapPath, 0, sizeof region.bitmapPath);
        std::memcpy(region.bitmapPath, path.c_str(), path.size() * sizeof(wchar_t));
    }
    qf::PrivateSettings& Stored() { return Private(printer().devmode); }
    // The printer answers the sheet's questions (so that both sides can be printed) and
    // reports the ribbon of its number `number`.
    void Answering(int number) {
        printer().card.fault = sim::PortFault::kNone;
        printer().card.ribbonNumber = number;
        Stored().ribbonType = qf::RibbonFromPrinterNumber(number);
    }
    void OpenSheet() {
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        ASSERT_NE(service.Page(), nullptr) << service.Problem();
        sim::Ui().messageBoxes.clear();
        sim::Ui().openFileDialogs.clear();
        sim::Ui().fileChoices.clear();
    }
    qf::PrivateSettings& Working() {
        return SheetOfPage(service.Page())->Settings();
    }
    // Presses a push button of the sheet and runs `script` in the dialog it opens, and
    // `nested` in the dialog that script opens, if any.
    INT_PTR Press(int item, const std::function<void(HWND)>& script, const std::function<void(HWND)>& nested = nullptr) {
        sim::DialogScript run(script);
        if (nested) run.Then(nested);
        const INT_PTR result = service.PushButton(item);
        EXPECT_EQ(run.Ran(), nested ? 2 : 1) << service.Problem();
        EXPECT_TRUE(run.LeftOpen().empty());
        EXPECT_TRUE(run.Unexpected().empty());
        return result;
    }
    // Opens the hologram region editor from the hologram dialog and runs `script` in it.
    INT_PTR PressHologramRegion(const std::function<void(HWND)>& script) {
        INT_PTR editor = -1;
        Press(kHologramItem,
              [&](HWND dialog) {
                  sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
                  sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
              },
              [&](HWND dialog) {
                  script(dialog);
                  editor = 1;
                  sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
              });
        return editor;
    }
    // Presses "Print Hologram Overlay Varnish" in the hologram dialog.
    void PrintHologram() {
        Press(kHologramItem, [](HWND dialog) {
            sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
    }
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = spooler().DriverFile(name);
        EXPECT_TRUE(sim::WriteWholeFile(path, bytes));
        return path;
    }
    std::vector<std::wstring> MessageTexts() const {
        std::vector<std::wstring> texts;
        for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes) texts.push_back(box.text);
        return texts;
    }
    // The one job of the log, checked for its framing; its writes in order.
    std::vector<std::string> HologramJobWrites(size_t index = 0) {
        std::vector<std::string> writes;
        if (spooler().jobs.size() <= index) {
            ADD_FAILURE() << "no job " << index;
            return writes;
        }
        const sim::RawJob& job = spooler().jobs[index];
        EXPECT_EQ(job.printer, kTestPrinter);
        EXPECT_EQ(job.documentName, L"VESTRIAHOLOGRAM");
        EXPECT_EQ(job.datatype, L"RAW");
        EXPECT_TRUE(job.ended);
        for (const std::vector<uint8_t>& block : job.blocks) writes.push_back(Bytes(block));
        return writes;
    }
    std::string HologramJobBytes(size_t index = 0) {
        std::string bytes;
        for (const std::string& write : HologramJobWrites(index)) bytes += write;
        return bytes;
    }

    HANDLE handle = nullptr;
    Record out;
    DOCUMENTPROPERTYHEADER header = {};
    sim::PropertySheetService service;
    std::wstring whiteFile;
};

TEST_F(OverlayDialogs, TheSheetOffersTheButtonsUnderTheirRules) {
    struct Case {
        int ribbon;  // the printer's number
        int16_t bothSides;
        int16_t printingMode;
        bool front, back, hologram;
    };
    const Case cases[] = {
        {2, 0, 0, true, false, false},   // YMCKO
        {2, 0, 1, false, false, false},  // YMCKO, "Encode Only"
        {17, 1, 0, true, true, false},   // KrO
        {19, 0, 0, false, false, true},  // hologram
        {21, 1, 0, true, true, true},    // clear varnish
        {7, 0, 0, false, false, false},  // K resin
    };
    for (const Case& c : cases) {
        Answering(c.ribbon);
        Stored().printBothSides = c.bothSides;
        Stored().printingMode = c.printingMode;
        Stored().encoderSettings.encoderPresent = 1;
        OpenSheet();
        EXPECT_EQ(service.ItemTitle(kFrontItem), L"Front Overlay Varnish");
        EXPECT_EQ(service.ItemTitle(kBackItem), L"Back Overlay Varnish");
        EXPECT_EQ(service.ItemTitle(kHologramItem), L"Hologram / Varnish");
        EXPECT_EQ(service.CanChange(kFrontItem), c.front) << "ribbon " << int(c.ribbon);
        EXPECT_EQ(service.CanChange(kBackItem), c.back) << "ribbon " << int(c.ribbon);
        EXPECT_EQ(service.CanChange(kHologramItem), c.hologram) << "ribbon " << int(c.ribbon);
        service.Cancel();
    }
    // Choosing "Encode Only" leaves the overlay buttons as they were; switching both
    // sides on offers the back.
    Answering(17);
    Stored().printBothSides = 0;
    Stored().printingMode = 0;
    OpenSheet();
    EXPECT_FALSE(service.CanChange(kBackItem));
    service.Select(kBothSidesItem, 1);
    EXPECT_TRUE(service.CanChange(kBackItem));
    service.Select(kPrintingModeItem, 1);
    EXPECT_TRUE(service.CanChange(kFrontItem));
}

// The controls each editor shows, and the groups each type enables.
TEST_F(OverlayDialogs, EditorsShowTheRecordAndEnableByType) {
    Stored().backOverlay.overlayType = qf::kOverlayArea;
    Stored().backOverlay.rotated = 1;
    SetArea(Stored().backOverlay, 10, 20, 1024, 639);
    SetPath(Stored().backOverlay, whiteFile);
    Stored().printBothSides = 1;
    Answering(21);
    OpenSheet();
    struct Seen {
        std::wstring title;
        std::vector<std::wstring> types;
        std::vector<std::wstring> edits;
        std::vector<int> positions;
        int chosen;
        bool rotated;
        std::wstring path;
        std::vector<std::vector<bool>> enabledByType;  // area edit, area up-down, browse, path
    } seen;
    const INT_PTR result = Press(kBackItem, [&](HWND dialog) {
        seen.title = sim::WindowTitle(dialog);
        const int count = static_cast<int>(SendDlgItemMessageW(dialog, IDC_OVERLAY_TYPE, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[80] = {};
            SendDlgItemMessageW(dialog, IDC_OVERLAY_TYPE, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            seen.types.push_back(text);
        }
        for (int id : {IDC_OVERLAY_LEFT, IDC_OVERLAY_TOP, IDC_OVERLAY_RIGHT, IDC_OVERLAY_BOTTOM})
            seen.edits.push_back(sim::ControlText(dialog, id));
        for (int id : {IDC_OVERLAY_LEFT_SPIN, IDC_OVERLAY_TOP_SPIN, IDC_OVERLAY_RIGHT_SPIN, IDC_OVERLAY_BOTTOM_SPIN})
            seen.positions.push_back(UpDownPosition(dialog, id));
        seen.chosen = ChosenType(dialog, IDC_OVERLAY_TYPE);
        seen.rotated = IsDlgButtonChecked(dialog, IDC_OVERLAY_ROTATE) == BST_CHECKED;
        seen.path = sim::ControlText(dialog, IDC_OVERLAY_PATH);
        for (int type = 0; type < 8; ++type) {
            ChooseType(dialog, IDC_OVERLAY_TYPE, type);
            seen.enabledByType.push_back({Enabled(dialog, IDC_OVERLAY_RIGHT), Enabled(dialog, IDC_OVERLAY_RIGHT_SPIN),
                                          Enabled(dialog, IDC_OVERLAY_BROWSE), Enabled(dialog, IDC_OVERLAY_PATH)});
        }
        ChooseType(dialog, IDC_OVERLAY_TYPE, qf::kOverlaySmartcardAfnor);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(seen.title, L"Back Overlay Varnish");
    EXPECT_EQ(seen.types, std::vector<std::wstring>({L"Full overlay varnish", L"No overlay",
                                                     L"Selected area overlay varnish", L"Selected area blank",
                                                     L"Bitmap - based overlay varnish", L"Smartcard ISO",
                                                     L"Smartcard AFNOR", L"Magnetic Stripe"}));
    EXPECT_EQ(seen.edits, std::vector<std::wstring>({L"10", L"20", L"1024", L"639"}));
    // The across up-downs end at 1023; the stored 1024 shows there as their end.
    EXPECT_EQ(seen.positions, std::vector<int>({10, 20, 1023, 639}));
    EXPECT_EQ(seen.chosen, qf::kOverlayArea);
    EXPECT_TRUE(seen.rotated);
    EXPECT_EQ(seen.path, whiteFile);
    const std::vector<bool> none = {false, false, false, false}, area = {true, true, false, false},
                            bitmap = {false, false, true, true};
    EXPECT_EQ(seen.enabledByType,
              std::vector<std::vector<bool>>({none, none, area, area, bitmap, none, none, none}));
    // A stored path is used: no file dialog. Only the back record changed.
    EXPECT_TRUE(sim::Ui().openFileDialogs.empty());
    EXPECT_EQ(Working().backOverlay.overlayType, qf::kOverlaySmartcardAfnor);
    EXPECT_EQ(Working().frontOverlay.overlayType, qf::kOverlayFull);
}

TEST_F(OverlayDialogs, RefusedCoordinatesTypedAndSteppedKeepTheStoredValue) {
    Stored().frontOverlay.overlayType = qf::kOverlayAreaBlank;
    SetArea(Stored().frontOverlay, 100, 50, 300, 638);
    OpenSheet();
    struct Step {
        int edit;
        std::wstring typed;
        std::wstring shown;  // the edit afterwards
        bool refused;
    };
    const Step steps[] = {
        {IDC_OVERLAY_RIGHT, L"1", L"300", true},       // not above left
        {IDC_OVERLAY_RIGHT, L"1024", L"1024", false},  // the card's right edge
        {IDC_OVERLAY_RIGHT, L"1025", L"1024", true},
        {IDC_OVERLAY_LEFT, L"1024", L"100", true},     // not below right
        {IDC_OVERLAY_LEFT, L"1023", L"1023", false},
        {IDC_OVERLAY_LEFT, L"12a", L"1023", true},     // pasted text is no number
        {IDC_OVERLAY_LEFT, L"10100", L"10100", false}, // read as its first four digits
        {IDC_OVERLAY_TOP, L"", L"50", true},           // an empty edit reads 0, fine for top
    };
    std::vector<std::wstring> shown;
    std::vector<size_t> boxes;
    int bottomAfterStep = 0;
    std::wstring bottomText;
    Press(kFrontItem, [&](HWND dialog) {
        for (const Step& s : steps) {
            sim::SetControlText(dialog, s.edit, s.typed);
            shown.push_back(sim::ControlText(dialog, s.edit));
            boxes.push_back(sim::Ui().messageBoxes.size());
        }
        // The bottom steps from 638 to 639, then to 640, which the card has not.
        StepUp(dialog, IDC_OVERLAY_BOTTOM_SPIN);
        StepUp(dialog, IDC_OVERLAY_BOTTOM_SPIN);
        bottomAfterStep = UpDownPosition(dialog, IDC_OVERLAY_BOTTOM_SPIN);
        bottomText = sim::ControlText(dialog, IDC_OVERLAY_BOTTOM);
        boxes.push_back(sim::Ui().messageBoxes.size());
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    // An empty top is 0, which the rules allow; the edit keeps what the user left.
    const std::vector<std::wstring> expectedShown = {L"300", L"1024", L"1024", L"100", L"1023", L"1023", L"10100", L""};
    EXPECT_EQ(shown, expectedShown);
    EXPECT_EQ(boxes, std::vector<size_t>({1, 1, 2, 3, 3, 4, 4, 4, 5}));
    for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes) {
        EXPECT_EQ(box.text, L"Invalid coordinates.");
        EXPECT_EQ(box.caption, L"Varlo Halvard Line Printer");
        EXPECT_EQ(box.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    }
    EXPECT_EQ(bottomAfterStep, 639);
    EXPECT_EQ(bottomText, L"639");
    const qf::OverlayRegion& region = Working().frontOverlay;
    EXPECT_EQ(region.left, 1010u);
    EXPECT_EQ(region.top, 0u);
    EXPECT_EQ(region.right, 1024u);
    EXPECT_EQ(region.bottom, 639u);
}

TEST_F(OverlayDialogs, AStoredAreaThatBreaksTheRulesOpensQuietlyAndCanBeMended) {
    Stored().frontOverlay.overlayType = qf::kOverlayArea;
    SetArea(Stored().frontOverlay, 1024, 700, 0, 5000);
    OpenSheet();
    std::vector<std::wstring> atOpen;
    size_t boxesAtOpen = 99;
    Press(kFrontItem, [&](HWND dialog) {
        boxesAtOpen = sim::Ui().messageBoxes.size();
        for (int id : {IDC_OVERLAY_LEFT, IDC_OVERLAY_TOP, IDC_OVERLAY_RIGHT, IDC_OVERLAY_BOTTOM})
            atOpen.push_back(sim::ControlText(dialog, id));
        // Each coordinate within its own range is taken until the area keeps the rules.
        sim::SetControlText(dialog, IDC_OVERLAY_LEFT, L"10");
        sim::SetControlText(dialog, IDC_OVERLAY_TOP, L"20");
        sim::SetControlText(dialog, IDC_OVERLAY_BOTTOM, L"640");  // beyond the card: refused
        sim::SetControlText(dialog, IDC_OVERLAY_BOTTOM, L"600");
        sim::SetControlText(dialog, IDC_OVERLAY_RIGHT, L"500");
        // From here the rules between the edges apply again.
        sim::SetControlText(dialog, IDC_OVERLAY_RIGHT, L"5");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(boxesAtOpen, 0u);
    EXPECT_EQ(atOpen, std::vector<std::wstring>({L"1024", L"700", L"0", L"5000"}));
    EXPECT_EQ(sim::Ui().messageBoxes.size(), 2u);
    const qf::OverlayRegion& region = Working().frontOverlay;
    EXPECT_EQ(std::vector<uint32_t>({region.left, region.top, region.right, region.bottom}),
              std::vector<uint32_t>({10, 20, 500, 600}));
}

TEST_F(OverlayDialogs, TheChangedFlagComesFromTheTypeListTakingTheFocus) {
    OpenSheet();
    HWND focused = nullptr, list = nullptr;
    const INT_PTR untouched = Press(kFrontItem, [&](HWND dialog) {
        focused = GetFocus();
        list = GetDlgItem(dialog, IDC_OVERLAY_TYPE);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(focused, list);
    EXPECT_EQ(untouched, 1);
    // Moving the focus on afterwards does not take the change back.
    const INT_PTR focusMoved = Press(kFrontItem, [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_CLOSE_BUTTON));
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(focusMoved, 1);
    EXPECT_EQ(std::memcmp(&Working().frontOverlay, &Stored().frontOverlay, sizeof(qf::OverlayRegion)), 0);
}

TEST_F(OverlayDialogs, TheBitmapTypeAsksForAMonochromeFileOrFallsBack) {
    const std::wstring colourFile = MakeFile(L"colour.bmp", BmpFile(16, 16, 24, [](int, int) { return true; }));
    const std::wstring shortFile = MakeFile(L"short.bmp", BmpFile(64, 40, 1, [](int, int) { return true; }).substr(0, 300));
    OpenSheet();
    // Cancelled: the list goes back to the first type.
    int afterCancel = -1;
    Press(kFrontItem, [&](HWND dialog) {
        ChooseType(dialog, IDC_OVERLAY_TYPE, qf::kOverlayBitmap);
        afterCancel = ChosenType(dialog, IDC_OVERLAY_TYPE);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(afterCancel, qf::kOverlayFull);
    EXPECT_EQ(Working().frontOverlay.overlayType, qf::kOverlayFull);
    ASSERT_EQ(sim::Ui().openFileDialogs.size(), 1u);
    EXPECT_EQ(sim::Ui().openFileDialogs[0].filter, L"Bitmap FIles(*.bmp)|*.bmp|");
    EXPECT_EQ(sim::Ui().openFileDialogs[0].defaultExtension, L"bmp");
    EXPECT_EQ(sim::Ui().openFileDialogs[0].flags, static_cast<DWORD>(OFN_CREATEPROMPT | OFN_NOLONGNAMES));

    // A 24-bit file and a file shorter than its rows are refused, and the dialog asks
    // again until a monochrome file comes.
    sim::Ui().openFileDialogs.clear();
    sim::Ui().fileChoices = {colourFile, shortFile, whiteFile};
    std::wstring shownPath;
    bool browseEnabled = false;
    Press(kFrontItem, [&](HWND dialog) {
        ChooseType(dialog, IDC_OVERLAY_TYPE, qf::kOverlayBitmap);
        shownPath = sim::ControlText(dialog, IDC_OVERLAY_PATH);
        browseEnabled = Enabled(dialog, IDC_OVERLAY_BROWSE) && !Enabled(dialog, IDC_OVERLAY_LEFT);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(sim::Ui().openFileDialogs.size(), 3u);
    EXPECT_EQ(MessageTexts(), std::vector<std::wstring>(2, L"The Bitmap must be a monochrome(1 bpp)."));
    // Each request has the Windows NT 4 layout (76 bytes in the 32-bit module), and after
    // a refusal the dialog opens again with the refused name in its name box.
    const std::wstring initialNames[] = {L"", colourFile, shortFile};
    for (size_t i = 0; i < sim::Ui().openFileDialogs.size() && i < 3; ++i) {
        EXPECT_EQ(sim::Ui().openFileDialogs[i].initialName, initialNames[i]) << i;
        EXPECT_EQ(sim::Ui().openFileDialogs[i].structSize, DWORD(OPENFILENAME_SIZE_VERSION_400W)) << i;
    }
    if (sizeof(void*) == 4) {
        EXPECT_EQ(DWORD(OPENFILENAME_SIZE_VERSION_400W), 76u);
    }
    EXPECT_EQ(shownPath, whiteFile);
    EXPECT_TRUE(browseEnabled);
    EXPECT_EQ(Working().frontOverlay.overlayType, qf::kOverlayBitmap);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(Working().frontOverlay.bitmapPath)), whiteFile);

    // Browse with a path stored: a cancelled choice keeps the stored file.
    Press(kFrontItem, [&](HWND dialog) {
        sim::ClickButton(dialog, IDC_OVERLAY_BROWSE);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(Working().frontOverlay.overlayType, qf::kOverlayBitmap);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(Working().frontOverlay.bitmapPath)), whiteFile);
}

TEST_F(OverlayDialogs, ThePreviewShowsTheTypeTheAreaAndTheBitmap) {
    // Left half black, right half white.
    const std::wstring halves = MakeFile(L"halves.bmp", BmpFile(32, 20, 1, [](int x, int) { return x >= 16; }));
    SetPath(Stored().frontOverlay, halves);
    OpenSheet();
    struct Seen {
        COLORREF centre, areaCentre, corner, left, right;
    };
    std::vector<Seen> seen;
    COLORREF brokenFile = 0;
    Press(kFrontItem, [&](HWND dialog) {
        for (int type : {qf::kOverlayFull, qf::kOverlayNone, qf::kOverlayArea, qf::kOverlayAreaBlank,
                         qf::kOverlayBitmap}) {
            ChooseType(dialog, IDC_OVERLAY_TYPE, type);
            for (bool rotated : {false, true}) {
                if (rotated != (IsDlgButtonChecked(dialog, IDC_OVERLAY_ROTATE) == BST_CHECKED))
                    sim::ClickButton(dialog, IDC_OVERLAY_ROTATE);
                // The area 100..300 x 50..150 has its centre at (0.195, 0.156) of the
                // card, (0.805, 0.844) when turned.
                seen.push_back({PreviewPixel(dialog, 0.5, 0.5),
                                rotated ? PreviewPixel(dialog, 0.805, 0.844) : PreviewPixel(dialog, 0.195, 0.156),
                                PreviewPixel(dialog, 0.9, 0.5), PreviewPixel(dialog, 0.2, 0.5),
                                PreviewPixel(dialog, 0.8, 0.5)});
            }
        }
        // A stored file that is no longer a monochrome bitmap draws nothing.
        const std::wstring lying = MakeFile(L"lying.bmp", BmpFile(32, 20, 1, [](int, int) { return false; }).substr(0, 70));
        SetPath(Working().frontOverlay, lying);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        brokenFile = PreviewPixel(dialog, 0.5, 0.5);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(brokenFile, GetSysColor(COLOR_BTNFACE));
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    ASSERT_EQ(seen.size(), 10u);
    for (int rotated = 0; rotated < 2; ++rotated) {
        EXPECT_EQ(seen[0 + rotated].centre, black);
        EXPECT_EQ(seen[2 + rotated].centre, white);
        EXPECT_EQ(seen[4 + rotated].centre, white);
        EXPECT_EQ(seen[4 + rotated].areaCentre, black) << "rotated " << rotated;
        EXPECT_EQ(seen[6 + rotated].centre, black);
        EXPECT_EQ(seen[6 + rotated].areaCentre, white) << "rotated " << rotated;
    }
    EXPECT_EQ(seen[8].left, black);
    EXPECT_EQ(seen[8].right, white);
    EXPECT_EQ(seen[9].left, white);  // turned by 180 degrees
    EXPECT_EQ(seen[9].right, black);
}

TEST_F(OverlayDialogs, TopDownAndLongHeaderBitmapsAreTakenAndDrawnUpright) {
    // Top half white, bottom half black: drawn upside down, the preview would show it.
    const auto upperHalfWhite = [](int, int y) { return y < 10; };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"top-down", LaidOutBmpFile(32, 20, upperHalfWhite, 40, true)},
        {"108-byte header", LaidOutBmpFile(32, 20, upperHalfWhite, 108, false)},
        {"124-byte header, top-down, rows after a gap", LaidOutBmpFile(32, 20, upperHalfWhite, 124, true, 24)},
    };
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    for (const Case& c : cases) {
        const std::wstring file = MakeFile(L"laid-out.bmp", c.bytes);
        OpenSheet();
        sim::Ui().fileChoices = {file};
        COLORREF upright[2] = {}, turned[2] = {};
        std::wstring shownPath;
        Press(kFrontItem, [&](HWND dialog) {
            ChooseType(dialog, IDC_OVERLAY_TYPE, qf::kOverlayBitmap);
            shownPath = sim::ControlText(dialog, IDC_OVERLAY_PATH);
            upright[0] = PreviewPixel(dialog, 0.3, 0.2);
            upright[1] = PreviewPixel(dialog, 0.3, 0.8);
            sim::ClickButton(dialog, IDC_OVERLAY_ROTATE);
            turned[0] = PreviewPixel(dialog, 0.3, 0.2);
            turned[1] = PreviewPixel(dialog, 0.3, 0.8);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_TRUE(sim::Ui().messageBoxes.empty()) << c.what;
        EXPECT_EQ(sim::Ui().openFileDialogs.size(), 1u) << c.what;
        EXPECT_EQ(shownPath, file) << c.what;
        EXPECT_EQ(Working().frontOverlay.overlayType, qf::kOverlayBitmap) << c.what;
        EXPECT_EQ(upright[0], white) << c.what;
        EXPECT_EQ(upright[1], black) << c.what;
        EXPECT_EQ(turned[0], black) << c.what;
        EXPECT_EQ(turned[1], white) << c.what;
        service.Cancel();
    }

    // Files that are still refused: other headers, other plane counts, and rows that the
    // file's pixel offset puts in its headers or past its end. The dialog asks again.
    std::string twoPlanes = BmpFile(32, 20, 1, upperHalfWhite);
    twoPlanes[26] = 2;
    std::string rowsInHeader = LaidOutBmpFile(32, 20, upperHalfWhite, 124, false);
    rowsInHeader[10] = 62;
    std::string rowsPastEnd = LaidOutBmpFile(32, 20, upperHalfWhite, 108, true);
    rowsPastEnd[10] = static_cast<char>(rowsPastEnd[10] + 4);
    std::string os2Header = LaidOutBmpFile(32, 20, upperHalfWhite, 64, false);
    const std::wstring good = MakeFile(L"good.bmp", LaidOutBmpFile(32, 20, upperHalfWhite, 40, true));
    OpenSheet();
    sim::Ui().fileChoices = {MakeFile(L"planes.bmp", twoPlanes), MakeFile(L"offset.bmp", rowsInHeader),
                             MakeFile(L"past.bmp", rowsPastEnd), MakeFile(L"os2.bmp", os2Header), good};
    Press(kFrontItem, [&](HWND dialog) {
        ChooseType(dialog, IDC_OVERLAY_TYPE, qf::kOverlayBitmap);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(sim::Ui().openFileDialogs.size(), 5u);
    EXPECT_EQ(MessageTexts(), std::vector<std::wstring>(4, L"The Bitmap must be a monochrome(1 bpp)."));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(Working().frontOverlay.bitmapPath)), good);
}

TEST_F(OverlayDialogs, TheHologramEditorWritesOnlyTheHologramRecord) {
    SetPath(Stored().frontOverlay, L"C:\\front.bmp");
    SetPath(Stored().backOverlay, L"C:\\back.bmp");
    OpenSheet();
    sim::Ui().fileChoices = {whiteFile};
    std::wstring title;
    std::vector<std::wstring> types;
    int upDownTop = 0;
    std::vector<bool> enabled;
    PressHologramRegion([&](HWND dialog) {
        title = sim::WindowTitle(dialog);
        const int count = static_cast<int>(SendDlgItemMessageW(dialog, IDC_HOLOGRAM_TYPE, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[80] = {};
            SendDlgItemMessageW(dialog, IDC_HOLOGRAM_TYPE, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        ChooseType(dialog, IDC_HOLOGRAM_TYPE, qf::kHologramArea);
        enabled.push_back(Enabled(dialog, IDC_HOLOGRAM_LEFT));
        // The hologram's bottom up-down ends at 639.
        SendDlgItemMessageW(dialog, IDC_HOLOGRAM_BOTTOM_SPIN, UDM_SETPOS32, 0, 700);
        upDownTop = UpDownPosition(dialog, IDC_HOLOGRAM_BOTTOM_SPIN);
        sim::SetControlText(dialog, IDC_HOLOGRAM_RIGHT, L"800");
        sim::SetControlText(dialog, IDC_HOLOGRAM_BOTTOM, L"640");
        ChooseType(dialog, IDC_HOLOGRAM_TYPE, qf::kHologramBitmap);
        enabled.push_back(Enabled(dialog, IDC_HOLOGRAM_LEFT));
        enabled.push_back(Enabled(dialog, IDC_HOLOGRAM_BROWSE));
        sim::ClickButton(dialog, IDC_HOLOGRAM_ROTATE);
    });
    EXPECT_EQ(title, L"Front Hologram Overlay Varnish");
    EXPECT_EQ(types, std::vector<std::wstring>({L"Full hologram overlay varnish",
                                                L"Selected area hologram overlay varnish", L"Selected area blank",
                                                L"Bitmap-based hologram overlay varnish"}));
    EXPECT_EQ(enabled, std::vector<bool>({true, false, true}));
    EXPECT_EQ(upDownTop, 639);
    EXPECT_EQ(MessageTexts(), std::vector<std::wstring>({L"Invalid coordinates."}));
    const qf::OverlayRegion& region = Working().hologramOverlay.region;
    EXPECT_EQ(region.overlayType, qf::kHologramBitmap);
    EXPECT_EQ(region.right, 800u);
    EXPECT_EQ(region.bottom, 150u);
    EXPECT_EQ(region.rotated, 1);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(region.bitmapPath)), whiteFile);
    EXPECT_EQ(std::memcmp(&Working().frontOverlay, &Stored().frontOverlay, sizeof(qf::OverlayRegion)), 0);
    EXPECT_EQ(std::memcmp(&Working().backOverlay, &Stored().backOverlay, sizeof(qf::OverlayRegion)), 0);
}

TEST_F(OverlayDialogs, TheHologramDialogKeepsItsSettings) {
    Stored().hologramOverlay.enabled = 0;
    Stored().hologramOverlay.copies = 7;
    OpenSheet();
    bool regionEnabledAtOpen = true, regionEnabledAfter = false;
    std::wstring copiesShown;
    const INT_PTR result = Press(kHologramItem, [&](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Hologram Overlay Varnish");
        regionEnabledAtOpen = Enabled(dialog, IDC_HOLOGRAM_REGION_BUTTON);
        copiesShown = sim::ControlText(dialog, IDC_HOLOGRAM_COPIES);
        sim::ClickButton(dialog, IDC_HOLOGRAM_ENABLE);
        regionEnabledAfter = Enabled(dialog, IDC_HOLOGRAM_REGION_BUTTON);
        sim::SetControlText(dialog, IDC_HOLOGRAM_COPIES, L"12");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(regionEnabledAtOpen);
    EXPECT_TRUE(regionEnabledAfter);
    EXPECT_EQ(copiesShown, L"7");
    EXPECT_EQ(Working().hologramOverlay.enabled, 1);
    EXPECT_EQ(Working().hologramOverlay.copies, 12);
    // Head Settings opens over the same sheet and writes its record.
    Working().ribbonType = qf::kRibbonUnknownMono;
    Working().monoRibbonKind = qf::kMonoClearVarnish;
    Press(
        kHologramItem, [](HWND dialog) {
            sim::ClickButton(dialog, IDC_HOLOGRAM_HEAD_SETTINGS);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        },
        [](HWND dialog) {
            EXPECT_EQ(sim::WindowTitle(dialog), L"Head Settings");
            sim::DragSlider(dialog, IDC_HEAD_HOLOGRAM, 9);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
    EXPECT_EQ(Working().headSettings[2], 9);
}

TEST_F(OverlayDialogs, CopiesDecideHowManyCardsAndTooManyAreRefused) {
    struct Case {
        const wchar_t* typed;
        size_t jobs;
        bool refused;
    };
    const Case cases[] = {
        {L"0", 1, false}, {L"1", 1, false}, {L"3", 3, false}, {L"1501", 0, true},
        // Beyond the field: refused, not taken as the count's low 16 bits (65537 -> 1).
        {L"65537", 0, true},
    };
    OpenSheet();
    for (const Case& c : cases) {
        spooler().jobs.clear();
        sim::Ui().messageBoxes.clear();
        Press(kHologramItem, [&](HWND dialog) {
            sim::SetControlText(dialog, IDC_HOLOGRAM_COPIES, c.typed);
            sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
            EXPECT_TRUE(Enabled(dialog, IDC_HOLOGRAM_PRINT));
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_EQ(spooler().jobs.size(), c.jobs) << sim::Utf8(c.typed);
        if (c.refused)
            EXPECT_EQ(MessageTexts(), std::vector<std::wstring>({L"You have entered an invalid value.Enter a valid count."}));
        else
            EXPECT_TRUE(sim::Ui().messageBoxes.empty()) << sim::Utf8(c.typed);
    }
}

// A batch of cards stops at the first card that does not reach the printer and tells the
// user once, with how many cards were sent; a stored type that cannot be printed has its
// own text and starts no job.
TEST_F(OverlayDialogs, AFailedCardStopsTheBatchWithOneMessage) {
    struct Case {
        const char* what;
        uint16_t type;
        uint16_t copies;
        bool refused;     // the spooler refuses every job
        int failingWrite;  // 0: none; else this write fails (three writes a whole card)
        size_t jobs;       // jobs the spooler started
        std::vector<std::wstring> messages;
    };
    const Case cases[] = {
        {"a refused spooler, 1500 copies", qf::kHologramFull, 1500, true, 0, 0,
         {L"The command did not reach the printer. The print stopped: 0 of 1500 cards were sent."}},
        {"the third card's write fails", qf::kHologramFull, 5, false, 7, 3,
         {L"The command did not reach the printer. The print stopped: 2 of 5 cards were sent."}},
        {"one card", qf::kHologramFull, 1, true, 0, 0, {L"The command did not reach the printer."}},
        {"a type the printer cannot be sent", 7, 3, false, 0, 0,
         {L"The stored hologram type cannot be printed. Choose the hologram area again with the button "
          L"\"Hologram Overlay Varnish at front\"."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stored().hologramOverlay.region.overlayType = c.type;
        Stored().hologramOverlay.copies = c.copies;
        printer().jobsRefused = c.refused;
        OpenSheet();
        spooler().jobs.clear();
        spooler().looseWrites.clear();
        sim::Ui().messageBoxes.clear();
        sim::ResetCalls();
        if (c.failingWrite) sim::FailCall(sim::CallClass::kWrite, c.failingWrite);
        PrintHologram();
        sim::ResetCalls();
        EXPECT_EQ(spooler().jobs.size(), c.jobs);
        for (size_t i = 0; i < spooler().jobs.size(); ++i)
            EXPECT_EQ(spooler().jobs[i].ended, i + 1 < c.jobs || c.failingWrite == 0) << "job " << i;
        EXPECT_LE(spooler().looseWrites.size(), 1u) << "no card is tried after the first refused one";
        EXPECT_EQ(MessageTexts(), c.messages);
        service.Cancel();
    }
    printer().jobsRefused = false;
}

// A sheet whose printer can no longer be opened sends its hologram to no printer at all,
// not even to the one its record names, and the user is told.
TEST_F(OverlayDialogs, AHologramForAPrinterThatCannotBeOpenedGoesNowhere) {
    const wchar_t kNamedInRecord[] = L"Other Card Printer";
    spooler().AddPrinter(kNamedInRecord).devmode = printer().devmode;
    lstrcpyW(Devmode(printer().devmode)->dmDeviceName, kNamedInRecord);
    SetPath(Stored().hologramOverlay.region, whiteFile);
    for (const uint16_t type : {qf::kHologramFull, qf::kHologramBitmap}) {
        SCOPED_TRACE(type);
        Stored().hologramOverlay.region.overlayType = type;
        OpenSheet();
        ASSERT_EQ(std::wstring(SheetOfPage(service.Page())->WorkingDevmode()->dmDeviceName), kNamedInRecord);
        printer().openable = false;
        spooler().jobs.clear();
        PrintHologram();
        printer().openable = true;
        EXPECT_TRUE(spooler().jobs.empty()) << "a job went to " << sim::Utf8(spooler().jobs[0].printer);
        EXPECT_TRUE(spooler().looseWrites.empty());
        EXPECT_EQ(MessageTexts(), std::vector<std::wstring>{L"The command did not reach the printer."});
        service.Cancel();
    }
}

TEST_F(OverlayDialogs, WholeCardAndAreaJobsAreExact) {
    struct Case {
        uint16_t type;
        uint16_t rotated;
        int16_t bothSides;
        std::vector<std::string> writes;
        std::array<uint32_t, 4> area = {100, 50, 300, 150};  // left, top, right, bottom
    };
    const std::string contrast = "\x1B+CH 5\r";
    const Case cases[] = {
        {qf::kHologramFull, 0, 0, {contrast, "\x1BIH 30\r", "\x1BMO\r"}},
        {qf::kHologramFull, 0, 1, {contrast, "\x1BIH 30\r", "\x1BMF\r", "\x1BIH 30\r", "\x1BMO\r"}},
        {qf::kHologramArea, 0, 0,
         {contrast, "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 100 50 200 100 1\r", "\x1BIH 31\r", "\x1BMO\r"}},
        {qf::kHologramArea, 1, 0,
         {contrast, "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 723 489 200 100 1\r", "\x1BIH 31\r", "\x1BMO\r"}},
        {qf::kHologramAreaBlank, 0, 1,
         {contrast, "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r", "\x1BMF\r",
          "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r", "\x1BMO\r"}},
        // Turned, an area whose right edge is dot 1024 starts at dot 0, not before it.
        {qf::kHologramArea, 1, 0,
         {contrast, "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 0 339 124 100 1\r", "\x1BIH 31\r", "\x1BMO\r"},
         {900, 200, 1024, 300}},
    };
    for (const Case& c : cases) {
        Stored().hologramOverlay.region.overlayType = c.type;
        Stored().hologramOverlay.region.rotated = c.rotated;
        SetArea(Stored().hologramOverlay.region, c.area[0], c.area[1], c.area[2], c.area[3]);
        Stored().hologramOverlay.copies = 2;
        OpenSheet();
        Working().printBothSides = c.bothSides;
        spooler().jobs.clear();
        PrintHologram();
        // Each card of these types is a job of its own.
        ASSERT_EQ(spooler().jobs.size(), 2u) << "type " << c.type;
        EXPECT_EQ(HologramJobWrites(0), c.writes) << "type " << c.type << " rotated " << c.rotated;
        EXPECT_EQ(HologramJobWrites(1), c.writes);
        service.Cancel();
    }
}

TEST_F(OverlayDialogs, AnAllWhiteBitmapJobIsExact) {
    Stored().hologramOverlay.region.overlayType = qf::kHologramBitmap;
    SetPath(Stored().hologramOverlay.region, whiteFile);
    OpenSheet();
    PrintHologram();
    std::string expected = "\x1B+CH 5\r\x1BMASTER\r\x1B" "F\r\x1BG 0 0 12 640 1024 0\r\x1BZ";
    for (int i = 0; i < 645; ++i) expected += "\xFF\xFF";
    expected += "\x85\xFF\r\x1BIH 31\r\x1BMO\r";
    ASSERT_EQ(spooler().jobs.size(), 1u);
    const std::string job = HologramJobBytes();
    EXPECT_EQ(job.size(), expected.size());
    EXPECT_TRUE(job == expected);
    // The framing is written command by command.
    const std::vector<std::string> writes = HologramJobWrites();
    ASSERT_GE(writes.size(), 4u);
    EXPECT_EQ(writes[0], "\x1B+CH 5\r");
    EXPECT_EQ(writes[1], "\x1BMASTER\r");
    EXPECT_EQ(writes.back(), "\x1BMO\r");
}

TEST_F(OverlayDialogs, ABitmapJobLaysTheFileDotByDot) {
    const std::wstring file = MakeFile(L"asymmetric.bmp", BmpFile(1024, 640, 1, AsymmetricDot));
    struct Case {
        uint16_t rotated;
        int16_t bothSides;
        uint16_t copies;
    };
    for (const Case& c : {Case{0, 0, 1}, Case{1, 0, 1}, Case{0, 1, 3}, Case{1, 1, 2}}) {
        Stored().hologramOverlay.region.overlayType = qf::kHologramBitmap;
        Stored().hologramOverlay.region.rotated = c.rotated;
        Stored().hologramOverlay.copies = c.copies;
        SetPath(Stored().hologramOverlay.region, file);
        OpenSheet();
        // Without the printer's model the sheet does not offer both sides; the record
        // is set as the sheet would leave it.
        Working().printBothSides = c.bothSides;
        spooler().jobs.clear();
        PrintHologram();
        ASSERT_EQ(spooler().jobs.size(), 1u);
        qf::HologramJobContent content;
        std::string error;
        ASSERT_TRUE(qf::DecodeHologramImageJob(HologramJobBytes(), content, &error)) << error;
        EXPECT_EQ(content.contrast, 5u);
        EXPECT_EQ(content.bothSides, c.bothSides != 0);
        EXPECT_EQ(content.cards, c.copies);
        ASSERT_EQ(content.sides.size(), c.bothSides ? 2u : 1u);
        for (const qf::HologramImage& side : content.sides) {
            int wrong = 0;
            std::string first;
            for (int y = 0; y < 640; ++y)
                for (int x = 0; x < 1024; ++x) {
                    const bool expected = c.rotated ? AsymmetricDot(1023 - x, 639 - y) : AsymmetricDot(x, y);
                    if (qf::HologramDotIsWhite(side, x, y) != expected && wrong++ == 0)
                        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            EXPECT_EQ(wrong, 0) << "rotated " << c.rotated << ": first wrong dot " << first;
        }
        service.Cancel();
    }
}

TEST_F(OverlayDialogs, TopDownAndLongHeaderBitmapJobsLayTheFileUpright) {
    struct Case {
        const char* what;
        uint32_t infoSize;
        bool topDown;
        uint32_t gap;
        uint16_t rotated;
    };
    const Case cases[] = {
        {"top-down", 40, true, 0, 0},
        {"top-down, rotated", 40, true, 0, 1},
        {"108-byte header", 108, false, 0, 0},
        {"124-byte header, top-down, rows after a gap, rotated", 124, true, 40, 1},
    };
    for (const Case& c : cases) {
        const std::wstring file =
            MakeFile(L"laid-out-card.bmp", LaidOutBmpFile(1024, 640, AsymmetricDot, c.infoSize, c.topDown, c.gap));
        Stored().hologramOverlay.region.overlayType = qf::kHologramBitmap;
        Stored().hologramOverlay.region.rotated = c.rotated;
        SetPath(Stored().hologramOverlay.region, file);
        OpenSheet();
        spooler().jobs.clear();
        PrintHologram();
        EXPECT_TRUE(sim::Ui().messageBoxes.empty()) << c.what;
        ASSERT_EQ(spooler().jobs.size(), 1u) << c.what;
        qf::HologramJobContent content;
        std::string error;
        ASSERT_TRUE(qf::DecodeHologramImageJob(HologramJobBytes(), content, &error)) << c.what << ": " << error;
        ASSERT_EQ(content.sides.size(), 1u);
        int wrong = 0;
        std::string first;
        for (int y = 0; y < 640; ++y)
            for (int x = 0; x < 1024; ++x) {
                const bool expected = c.rotated ? AsymmetricDot(1023 - x, 639 - y) : AsymmetricDot(x, y);
                if (qf::HologramDotIsWhite(content.sides[0], x, y) != expected && wrong++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        EXPECT_EQ(wrong, 0) << c.what << ": first wrong dot " << first;
        service.Cancel();
    }
}

TEST_F(OverlayDialogs, ABadBitmapAtPrintTimeShowsSystemErrorAndSendsNothing) {
    const std::string good = BmpFile(64, 40, 1, [](int x, int) { return x % 2 == 0; });
    std::string lying = good;
    lying[22] = static_cast<char>(200);  // 200 rows claimed, 40 there
    const std::wstring chosen = MakeFile(L"chosen.bmp", good);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"short", good.substr(0, 20)},
        {"lying header", lying},
        {"24-bit replacement", BmpFile(64, 40, 24, [](int, int) { return true; })},
        {"empty", std::string()},
        {"two planes", [&good] { std::string f = good; f[26] = 2; return f; }()},
        {"64-byte information header", LaidOutBmpFile(64, 40, [](int, int) { return true; }, 64, false)},
        {"rows inside the headers", [&good] { std::string f = good; f[10] = 40; return f; }()},
        {"rows past the end", [&good] { std::string f = good; f[10] = 70; return f; }()},
    };
    for (const Case& c : cases) {
        Stored().hologramOverlay.region.overlayType = qf::kHologramBitmap;
        SetPath(Stored().hologramOverlay.region, chosen);
        // The file was good when chosen and has been replaced since.
        ASSERT_TRUE(sim::WriteWholeFile(chosen, c.bytes));
        OpenSheet();
        spooler().jobs.clear();
        PrintHologram();
        EXPECT_TRUE(spooler().jobs.empty()) << c.what;
        EXPECT_EQ(MessageTexts(), std::vector<std::wstring>({L"System Error"})) << c.what;
        service.Cancel();
    }
    // A path that names no file at all.
    SetPath(Stored().hologramOverlay.region, L"C:\\no such\\card.bmp");
    OpenSheet();
    PrintHologram();
    EXPECT_TRUE(spooler().jobs.empty());
    EXPECT_EQ(MessageTexts(), std::vector<std::wstring>({L"System Error"}));
}

TEST_F(OverlayDialogs, AStoredAreaOffTheCardEmptyOrInvertedIsNotSent) {
    struct Case {
        const char* what;
        uint32_t left, top, right, bottom;
        bool sent;
    };
    const Case cases[] = {
        {"every area byte 0xFF", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, false},
        {"empty", 0, 0, 0, 0, false},
        {"inverted across", 300, 50, 100, 150, false},
        {"inverted down", 100, 150, 300, 50, false},
        {"no width", 300, 50, 300, 150, false},
        {"right beyond the card", 100, 50, 1025, 150, false},
        {"bottom beyond the card", 100, 50, 300, 640, false},
        {"the far corner's last dot", 1023, 638, 1024, 639, true},
    };
    for (const uint16_t type : {qf::kHologramArea, qf::kHologramAreaBlank}) {
        for (const Case& c : cases) {
            qf::OverlayRegion& region = Stored().hologramOverlay.region;
            region.overlayType = type;
            SetArea(region, c.left, c.top, c.right, c.bottom);
            Stored().hologramOverlay.copies = 2;
            OpenSheet();
            spooler().jobs.clear();
            bool printEnabled = false;
            Press(kHologramItem, [&](HWND dialog) {
                sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
                printEnabled = Enabled(dialog, IDC_HOLOGRAM_PRINT);
                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
            });
            EXPECT_TRUE(printEnabled) << c.what;
            if (c.sent) {
                EXPECT_EQ(spooler().jobs.size(), 2u) << c.what << " type " << type;
                EXPECT_TRUE(sim::Ui().messageBoxes.empty()) << c.what;
            } else {
                EXPECT_TRUE(spooler().jobs.empty()) << c.what << " type " << type;
                EXPECT_EQ(MessageTexts(), std::vector<std::wstring>({L"Invalid coordinates."})) << c.what;
                if (!sim::Ui().messageBoxes.empty()) {
                    EXPECT_EQ(sim::Ui().messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR)) << c.what;
                }
            }
            service.Cancel();
        }
    }
}

TEST_F(OverlayDialogs, ABitmapJobWithoutMemoryIsToldAndThePrintButtonComesBack) {
    const std::string failedBuffer = "Failed to allocate buffer for HOLOGRAM dumping out\r\n";
    struct Case {
        const char* what;
        size_t failing;     // the request that fails, by its size
        size_t jobs;
        bool traced;        // the debugger hears of the failed buffer
        std::vector<std::wstring> messages;
    };
    std::vector<uint8_t> fileBytes;
    ASSERT_TRUE(sim::ReadWholeFile(whiteFile, &fileBytes));
    const Case cases[] = {
        // The file cannot be held to be read: as a file that cannot be read.
        {"file", fileBytes.size(), 0, false, {L"System Error"}},
        // The image itself: no job, and the user is told.
        {"image", sizeof(qf::HologramImage), 0, false, {L"The command did not reach the printer."}},
        // The encoder and its output buffer: no job either (it would end as if whole), the
        // debugger hears why, and the user is told.
        {"encoder", sizeof(qf::HologramRle), 0, true, {L"The command did not reach the printer."}},
    };
    Stored().hologramOverlay.region.overlayType = qf::kHologramBitmap;
    SetPath(Stored().hologramOverlay.region, whiteFile);
    for (const Case& c : cases) {
        OpenSheet();
        spooler().jobs.clear();
        sim::Ui().debugTraces.clear();
        bool printEnabled = false;
        sim::FailAllocationsOf(c.failing);
        Press(kHologramItem, [&](HWND dialog) {
            sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
            printEnabled = Enabled(dialog, IDC_HOLOGRAM_PRINT);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        const size_t failed = sim::FailedAllocations();
        sim::FailAllocationsOf(0);
        EXPECT_GE(failed, 1u) << c.what << ": the request was never made";
        EXPECT_TRUE(printEnabled) << c.what;
        EXPECT_EQ(MessageTexts(), c.messages) << c.what;
        ASSERT_EQ(spooler().jobs.size(), c.jobs) << c.what;
        if (c.jobs) {
            EXPECT_TRUE(HologramJobWrites().empty()) << c.what;
        }
        const size_t traced = std::count(sim::Ui().debugTraces.begin(), sim::Ui().debugTraces.end(), failedBuffer);
        EXPECT_EQ(traced, c.traced ? 1u : 0u) << c.what;
        service.Cancel();
    }
    // With memory again, the same print sends the whole job.
    OpenSheet();
    spooler().jobs.clear();
    PrintHologram();
    ASSERT_EQ(spooler().jobs.size(), 1u);
    EXPECT_GT(HologramJobBytes().size(), 1292u);
}

TEST_F(OverlayDialogs, ADialogWithoutALiveSheetEndsAtOnce) {
    OpenSheet();
    struct Button {
        DLGPROC proc;
        WORD templateId;
    };
    std::vector<Button> buttons;
    for (int item : {kFrontItem, kBackItem, kHologramItem}) {
        const OPTPARAM& param = service.Item(item)->pOptType->pOptParam[0];
        buttons.push_back({reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(param.pData)),
                           static_cast<WORD>(param.lParam)});
    }
    CPSUICBPARAM closed = {};
    closed.cbSize = sizeof closed;
    closed.UserData = service.Page()->UserData;
    service.Cancel();
    // The sheet is gone: a dialog handed its old record ends with 0 before it shows.
    sim::DialogScript guard(2000);
    for (const Button& b : buttons)
        EXPECT_EQ(DialogBoxParamW(Driver(), MAKEINTRESOURCEW(b.templateId), nullptr, b.proc,
                                  reinterpret_cast<LPARAM>(&closed)),
                  0)
            << b.templateId;
}

}  // namespace
