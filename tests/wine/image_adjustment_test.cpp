// The head settings and colour correction dialogs, opened through the document sheet's
// push buttons with the property-sheet service stand-in and worked through their real
// trackbars.
#include "tests/wine/wine_test.h"

#include <cstddef>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/imaging/color_adjust.h"
#include "driver/imaging/head_settings_dialog.h"
#include "driver/imaging/head_settings_rules.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"
#include "driver/state/sheet_state.h"
#include "sim/dialog_script.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "tests/wine/process_usage.h"
#include "tests/wine/records.h"

namespace {

// The module's document sheet whose page the service holds: the page lies inside the
// sheet's own state (the page's UserData is the sheet's number, not its address).
DocumentSheetState* SheetOfPage(COMPROPSHEETUI* page) {
    return reinterpret_cast<DocumentSheetState*>(reinterpret_cast<uint8_t*>(page) - offsetof(DocumentSheetState, page));
}

constexpr int kColorItem = 3, kBothSidesItem = 5, kPrintModeItem = 6, kHeadItem = 13;
constexpr int kSample = qf::kSampleSide;

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The client area's pixels at the sample's place, top row first, as blue, green, red.
std::vector<uint8_t> ReadSampleArea(HWND dialog) {
    std::vector<uint8_t> pixels(qf::kSamplePixelBytes);
    HDC dc = GetDC(dialog);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSample, -kSample, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, kSample, kSample, dc, 8, 8, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size());
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(copy);
    ReleaseDC(dialog, dc);
    return pixels;
}

// What the sample should look like: the file's pixels through the core transform,
// turned top row first.
std::vector<uint8_t> ExpectedSample(const std::vector<uint8_t>& file, const int16_t amounts[8], bool colour) {
    auto transform = std::make_unique<qf::SampleTransform>();
    const uint8_t* pixels = transform->Apply(file.data() + qf::kSampleHeaderBytes, amounts, colour);
    std::vector<uint8_t> topDown(qf::kSamplePixelBytes);
    for (int y = 0; y < kSample; ++y)
        std::memcpy(&topDown[y * kSample * 3], &pixels[(kSample - 1 - y) * kSample * 3], kSample * 3);
    return topDown;
}

// The first pixel that differs, in words; empty when the pictures are the same.
std::string FirstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& expected) {
    for (size_t i = 0; i < got.size(); i += 3)
        if (std::memcmp(&got[i], &expected[i], 3) != 0) {
            char text[160];
            std::snprintf(text, sizeof text, "pixel (%u, %u): bgr %u %u %u on the screen, %u %u %u expected",
                          unsigned(i / 3 % kSample), unsigned(i / 3 / kSample), got[i], got[i + 1], got[i + 2],
                          expected[i], expected[i + 1], expected[i + 2]);
            return text;
        }
    return std::string();
}

bool AllBackground(const std::vector<uint8_t>& area) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (size_t i = 0; i < area.size(); i += 3)
        if (RGB(area[i + 2], area[i + 1], area[i]) != face) return false;
    return true;
}

class ImageAdjustment : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Record stored = DriverRecord();
        Private(stored).ribbonType = qf::kRibbonYmcko;
        Private(stored).encoderSettings.encoderPresent = 1;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        out.assign(qf::kRecordSize, 0xCD);
        header = DOCUMENTPROPERTYHEADER();
        header.cbSize = sizeof header;
        header.hPrinter = handle;
        header.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
        header.pdmOut = Devmode(out);
        header.cbOut = qf::kRecordSize;
        header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    // The stored default of the printer, as the sheet will edit it.
    qf::PrivateSettings& Stored() { return Private(printer().devmode); }
    // Opens the sheet on the stored default; a printer that keeps quiet leaves its ribbon.
    void OpenQuiet(uint8_t ribbon) {
        printer().card.fault = sim::PortFault::kNoAnswer;
        Stored().ribbonType = ribbon;
        OpenSheet();
    }
    void OpenSheet() {
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        ASSERT_NE(service.Page(), nullptr) << service.Problem();
    }
    // The sheet's working record, as its dialogs write it.
    qf::PrivateSettings& Working() {
        return SheetOfPage(service.Page())->Settings();
    }
    // Presses a push button of the sheet and runs `script` in the dialog it opens.
    INT_PTR Press(int item, const std::function<void(HWND)>& script) {
        sim::DialogScript run(script);
        const INT_PTR result = service.PushButton(item);
        EXPECT_EQ(run.Ran(), 1) << service.Problem();
        EXPECT_TRUE(run.LeftOpen().empty());
        return result;
    }
    // Opens Color Adjustment and tells whether its sample picture shows anything.
    bool SampleDrawn() {
        bool drawn = false;
        Press(kColorItem, [&](HWND dialog) {
            sim::PumpMessages();
            drawn = !AllBackground(ReadSampleArea(dialog));
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        return drawn;
    }
    // Points the printer's driver at the simulated driver directory, whose sample
    // picture a test may replace.
    std::wstring UseOwnSample() {
        printer().driverPath = spooler().DriverFile(L"qf862kui.dll");
        return spooler().DriverFile(L"qf862k.bmp");
    }

    HANDLE handle = nullptr;
    Record out;
    DOCUMENTPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

// Which sliders are enabled; each slider's name and value are enabled exactly when it is,
// so that an operator sees which ones the ribbon does not use even where a disabled
// trackbar is drawn like an enabled one.
std::vector<bool> EnabledSliders(HWND dialog, int first, int count) {
    const bool head = first == IDC_HEAD_SLIDER_FIRST;
    const int names = head ? IDC_HEAD_NAME_FIRST : IDC_COLOR_NAME_FIRST;
    const int values = head ? IDC_HEAD_VALUE_FIRST : IDC_COLOR_VALUE_FIRST;
    std::vector<bool> enabled;
    for (int i = 0; i < count; ++i) {
        const bool on = IsWindowEnabled(GetDlgItem(dialog, first + i)) != FALSE;
        EXPECT_NE(GetDlgItem(dialog, names + i), nullptr) << "slider " << i;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, names + i)) != FALSE, on) << "name of slider " << i;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, values + i)) != FALSE, on) << "value of slider " << i;
        enabled.push_back(on);
    }
    return enabled;
}

TEST_F(ImageAdjustment, TheSheetOffersBothDialogsForEveryRibbon) {
    for (uint8_t ribbon : {qf::kRibbonYmcko, qf::kRibbonKResin, qf::kRibbonClearVarnish, qf::kRibbonNone}) {
        OpenQuiet(ribbon);
        EXPECT_TRUE(service.CanChange(kColorItem)) << "ribbon " << int(ribbon);
        EXPECT_TRUE(service.CanChange(kHeadItem)) << "ribbon " << int(ribbon);
        EXPECT_EQ(service.ItemTitle(kColorItem), L"Color Adjustment");
        EXPECT_EQ(service.ItemTitle(kHeadItem), L"Head Settings");
        service.Cancel();
    }
}

TEST_F(ImageAdjustment, HeadSettingsShowsTheLevelsAndEnablesByRibbon) {
    struct Case {
        uint8_t ribbon, kind;
        std::vector<int> enabled;  // slider ids
    };
    const Case cases[] = {
        {qf::kRibbonYmc, 0, {1803, 1804, 1805, 1807, 1808, 1809}},
        {qf::kRibbonKdo, 0, {1800, 1806, 1810}},
        {qf::kRibbonClearVarnish, 0, {}},
        {qf::kRibbonScratchOff, 0, {}},
        {qf::kRibbonUnknownMono, qf::kMonoClearVarnish, {1800, 1802}},
    };
    for (const Case& c : cases) {
        Stored().monoRibbonKind = c.kind;
        const uint8_t levels[qf::kHeadSettingCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        std::memcpy(Stored().headSettings, levels, sizeof levels);
        OpenQuiet(c.ribbon);
        std::vector<bool> enabled;
        std::wstring title;
        std::vector<int> positions;
        std::vector<std::wstring> labels;
        EXPECT_EQ(Press(kHeadItem,
                        [&](HWND dialog) {
                            title = sim::WindowTitle(dialog);
                            enabled = EnabledSliders(dialog, IDC_HEAD_SLIDER_FIRST, qf::kHeadSettingCount);
                            for (int i = 0; i < qf::kHeadSettingCount; ++i) {
                                positions.push_back(sim::SliderPosition(dialog, IDC_HEAD_SLIDER_FIRST + i));
                                labels.push_back(sim::ControlText(dialog, IDC_HEAD_VALUE_FIRST + i));
                            }
                            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                        }),
                  IDC_CLOSE_BUTTON);
        EXPECT_EQ(title, L"Head Settings");
        for (int i = 0; i < qf::kHeadSettingCount; ++i) {
            bool expected = false;
            for (int id : c.enabled) expected = expected || id == IDC_HEAD_SLIDER_FIRST + i;
            EXPECT_EQ(enabled[i], expected) << "ribbon " << int(c.ribbon) << " slider " << 1800 + i;
            EXPECT_EQ(positions[i], i);
            EXPECT_EQ(labels[i], std::to_wstring(i));
        }
        service.Cancel();
    }
}

TEST_F(ImageAdjustment, AHeadLevelIsInTheRecordAtOnceKeptByOkAndDroppedByUndoOrCancel) {
    int during = -1;
    std::wstring label;
    auto moveYellow = [&](HWND dialog) {
        EXPECT_TRUE(sim::DragSlider(dialog, IDC_HEAD_YELLOW_INTENSITY, 8));
        during = Working().headSettings[qf::kHeadYellowIntensity];
        label = sim::ControlText(dialog, IDC_HEAD_YELLOW_INTENSITY_VALUE);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    };
    OpenQuiet(qf::kRibbonYmcko);
    Press(kHeadItem, moveYellow);
    EXPECT_EQ(during, 8);
    EXPECT_EQ(label, L"8");
    service.Commit();
    EXPECT_EQ(Private(out).headSettings[qf::kHeadYellowIntensity], 8);
    EXPECT_EQ(Private(out).headSettings[qf::kHeadCyanIntensity], 5) << "the others stay";

    out.assign(qf::kRecordSize, 0xCD);
    OpenQuiet(qf::kRibbonYmcko);
    Press(kHeadItem, moveYellow);
    service.Undo();
    service.Commit();
    EXPECT_EQ(Private(out).headSettings[qf::kHeadYellowIntensity], 5);

    out.assign(qf::kRecordSize, 0xCD);
    OpenQuiet(qf::kRibbonYmcko);
    Press(kHeadItem, moveYellow);
    service.Cancel();
    EXPECT_EQ(out[qf::kPublicSize + 3227], 0xCD) << "nothing handed out";
    EXPECT_EQ(Stored().headSettings[qf::kHeadYellowIntensity], 5);
    EXPECT_TRUE(spooler().setPrinterLog.empty());
}

TEST_F(ImageAdjustment, HeadRestoreDefaultsRewritesAllElevenEvenWithEverySliderDisabled) {
    // A data file of the printer's own, with levels of its own.
    Record block = DefaultsBlock();
    const uint8_t levels[qf::kHeadSettingCount] = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    std::memcpy(&block[3224], levels, sizeof levels);
    const std::wstring dataFile = spooler().DriverFile(L"own.dat");
    WriteBytes(dataFile, block);
    std::memset(Stored().headSettings, 1, qf::kHeadSettingCount);

    struct Case {
        const char* what;
        std::wstring dataFile;
        std::vector<uint8_t> expected;
    };
    // The same levels in a file one byte short: not a defaults block, so none of it counts.
    block.pop_back();
    const std::wstring shortFile = spooler().DriverFile(L"short.dat");
    WriteBytes(shortFile, block);
    const Case cases[] = {{"own data file", dataFile, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
                          {"no data file", spooler().DriverFile(L"missing.dat"), std::vector<uint8_t>(11, 5)},
                          {"a data file one byte short", shortFile, std::vector<uint8_t>(11, 5)}};
    for (const Case& c : cases) {
        printer().dataFile = c.dataFile;
        OpenQuiet(qf::kRibbonScratchOff);
        std::vector<bool> enabled;
        std::vector<std::wstring> labels;
        std::vector<int> positions;
        Press(kHeadItem, [&](HWND dialog) {
            sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
            enabled = EnabledSliders(dialog, IDC_HEAD_SLIDER_FIRST, qf::kHeadSettingCount);
            for (int i = 0; i < qf::kHeadSettingCount; ++i) {
                labels.push_back(sim::ControlText(dialog, IDC_HEAD_VALUE_FIRST + i));
                positions.push_back(sim::SliderPosition(dialog, IDC_HEAD_SLIDER_FIRST + i));
            }
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        for (int i = 0; i < qf::kHeadSettingCount; ++i) {
            EXPECT_EQ(Working().headSettings[i], c.expected[i]) << c.what << " slider " << i;
            EXPECT_EQ(positions[i], c.expected[i]) << c.what << " slider " << i;
            EXPECT_EQ(labels[i], std::to_wstring(c.expected[i])) << c.what << " slider " << i;
            EXPECT_FALSE(enabled[i]) << c.what << " slider " << i;
        }
        service.Cancel();
    }
}

TEST_F(ImageAdjustment, StoredValuesOffTheScaleAreShownAtItsEndsAndKeptUntilMoved) {
    Stored().headSettings[qf::kHeadResinBlackContrast] = 15;
    Stored().headSettings[qf::kHeadYellowIntensity] = 200;
    Stored().colorAdjust[qf::kColorRedIntensity] = 150;
    Stored().colorAdjust[qf::kColorGreenIntensity] = -300;
    OpenQuiet(qf::kRibbonYmcko);
    std::wstring headLabel;
    int headPosition = -1;
    Press(kHeadItem, [&](HWND dialog) {
        headLabel = sim::ControlText(dialog, IDC_HEAD_RESIN_BLACK_VALUE);
        headPosition = sim::SliderPosition(dialog, IDC_HEAD_RESIN_BLACK);
        sim::DragSlider(dialog, IDC_HEAD_RESIN_BLACK, 10);  // where it is shown already
        sim::DragSlider(dialog, IDC_HEAD_YELLOW_INTENSITY, 4);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(headLabel, L"10");
    EXPECT_EQ(headPosition, 10);
    EXPECT_EQ(Working().headSettings[qf::kHeadResinBlackContrast], 15);
    EXPECT_EQ(Working().headSettings[qf::kHeadYellowIntensity], 4);

    std::wstring red, green;
    Press(kColorItem, [&](HWND dialog) {
        red = sim::ControlText(dialog, IDC_COLOR_RED_INTENSITY_VALUE);
        green = sim::ControlText(dialog, IDC_COLOR_GREEN_INTENSITY_VALUE);
        sim::DragSlider(dialog, IDC_COLOR_RED_INTENSITY, 100);
        sim::DragSlider(dialog, IDC_COLOR_GREEN_INTENSITY, -99);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(red, L"100");
    EXPECT_EQ(green, L"-100");
    EXPECT_EQ(Working().colorAdjust[qf::kColorRedIntensity], 150);
    EXPECT_EQ(Working().colorAdjust[qf::kColorGreenIntensity], -99);
}

TEST_F(ImageAdjustment, ColourSlidersFollowTheRibbonAndTheSheetsChoices) {
    // K resin with monochrome conversion: the black sliders show 0, disabled, and the
    // stored black values stay.
    Stored().monoConversion = 1;
    Stored().colorAdjust[qf::kColorBlackIntensity] = 40;
    Stored().colorAdjust[qf::kColorBlackContrast] = -25;
    OpenQuiet(qf::kRibbonKResin);
    std::vector<bool> enabled;
    std::vector<int> positions;
    std::vector<std::wstring> labels;
    std::wstring title;
    std::vector<int> thumbs;  // each thumb's middle, in tenths of its channel's width
    auto look = [&](HWND dialog) {
        title = sim::WindowTitle(dialog);
        thumbs.clear();
        for (int i = 0; i < qf::kColorAdjustCount; ++i) {
            RECT thumb = {}, channel = {};
            SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + i, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
            SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + i, TBM_GETCHANNELRECT, 0,
                                reinterpret_cast<LPARAM>(&channel));
            const int width = channel.right - channel.left;
            thumbs.push_back(width > 0 ? ((thumb.left + thumb.right) / 2 - channel.left) * 10 / width : -1);
        }
        enabled = EnabledSliders(dialog, IDC_COLOR_SLIDER_FIRST, qf::kColorAdjustCount);
        positions.clear();
        labels.clear();
        for (int i = 0; i < qf::kColorAdjustCount; ++i) {
            positions.push_back(sim::SliderPosition(dialog, IDC_COLOR_SLIDER_FIRST + i));
            labels.push_back(sim::ControlText(dialog, IDC_COLOR_VALUE_FIRST + i));
        }
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    };
    EXPECT_EQ(Press(kColorItem, look), IDC_CLOSE_BUTTON);
    EXPECT_EQ(title, L"Color correction");
    // The scale runs from -100 to 100: a slider at 0 has its thumb in the middle.
    EXPECT_NEAR(thumbs[1], 5, 1) << "red intensity, 0";
    EXPECT_NEAR(thumbs[0], 5, 1) << "black intensity, shown as 0";
    EXPECT_EQ(enabled, std::vector<bool>(8, false));
    EXPECT_EQ(positions[0], 0);
    EXPECT_EQ(positions[4], 0);
    EXPECT_EQ(labels[0], L"0");
    EXPECT_EQ(labels[4], L"0");
    service.Commit();
    EXPECT_EQ(Private(out).colorAdjust[qf::kColorBlackIntensity], 40);
    EXPECT_EQ(Private(out).colorAdjust[qf::kColorBlackContrast], -25);

    // YMCKO: black only on two sides, outside the mode that prints the back in black.
    printer().card.fault = sim::PortFault::kNone;
    Stored().ribbonType = qf::kRibbonYmcko;
    OpenSheet();
    Press(kColorItem, look);
    EXPECT_EQ(enabled, std::vector<bool>({false, true, true, true, false, true, true, true}));
    service.Select(kBothSidesItem, 1);
    Press(kColorItem, look);
    EXPECT_TRUE(enabled[0] && enabled[4]);
    service.Select(kPrintModeItem, 1);
    Press(kColorItem, look);
    EXPECT_FALSE(enabled[0] || enabled[4]);
    EXPECT_EQ(positions[0], 40) << "shown, though disabled";
}

TEST_F(ImageAdjustment, ColourRestoreDefaultsWithoutADataFileSetsEverythingToZero) {
    printer().dataFile = spooler().DriverFile(L"missing.dat");
    const int16_t amounts[qf::kColorAdjustCount] = {10, -20, 30, -40, 50, -60, 70, -80};
    std::memcpy(Stored().colorAdjust, amounts, sizeof amounts);
    Stored().colorAdjustExtra = 7;
    OpenQuiet(qf::kRibbonYmcko);
    std::vector<std::wstring> labels;
    std::vector<int> positions;
    Press(kColorItem, [&](HWND dialog) {
        sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
        for (int i = 0; i < qf::kColorAdjustCount; ++i) {
            labels.push_back(sim::ControlText(dialog, IDC_COLOR_VALUE_FIRST + i));
            positions.push_back(sim::SliderPosition(dialog, IDC_COLOR_SLIDER_FIRST + i));
        }
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(labels, std::vector<std::wstring>(8, L"0"));
    EXPECT_EQ(positions, std::vector<int>(8, 0));
    for (int i = 0; i < qf::kColorAdjustCount; ++i) EXPECT_EQ(Working().colorAdjust[i], 0) << i;
    EXPECT_EQ(Working().colorAdjustExtra, 0);
}

TEST_F(ImageAdjustment, ThePaintedSampleIsTheCoreTransformOfTheFile) {
    const std::vector<uint8_t> file = sim::ReadWholeFile(sim::ProgramDirectory() + L"qf862k.bmp");
    ASSERT_EQ(file.size(), qf::kSampleFileBytes);
    struct Case {
        const char* what;
        uint8_t ribbon;
        bool colour;
        int slider;  // moved in the dialog
        int to;
    };
    const Case cases[] = {{"colour, YMCKO", qf::kRibbonYmcko, true, IDC_COLOR_RED_CONTRAST, -35},
                          {"grey, KrO", qf::kRibbonKro, false, IDC_COLOR_BLACK_CONTRAST, 45}};
    for (const Case& c : cases) {
        int16_t amounts[qf::kColorAdjustCount] = {-20, 25, -30, 15, 40, 60, -50, 20};
        std::memcpy(Stored().colorAdjust, amounts, sizeof amounts);
        Stored().monoConversion = 0;
        OpenQuiet(c.ribbon);
        std::string opened, moved;
        Press(kColorItem, [&](HWND dialog) {
            sim::PumpMessages();
            opened = FirstDifference(ReadSampleArea(dialog), ExpectedSample(file, amounts, c.colour));
            EXPECT_TRUE(sim::DragSlider(dialog, c.slider, c.to));
            amounts[c.slider - IDC_COLOR_SLIDER_FIRST] = static_cast<int16_t>(c.to);
            UpdateWindow(dialog);
            moved = FirstDifference(ReadSampleArea(dialog), ExpectedSample(file, amounts, c.colour));
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_EQ(opened, "") << c.what << ", as opened";
        EXPECT_EQ(moved, "") << c.what << ", after a slider movement";
        service.Cancel();
    }
}

TEST_F(ImageAdjustment, AMoveToTheShownValueDoesNotRepaint) {
    Stored().colorAdjust[qf::kColorRedIntensity] = 30;
    OpenQuiet(qf::kRibbonYmcko);
    bool afterSame = true, afterOther = false;
    Press(kColorItem, [&](HWND dialog) {
        sim::PumpMessages();
        sim::DragSlider(dialog, IDC_COLOR_RED_INTENSITY, 30);
        afterSame = GetUpdateRect(dialog, nullptr, FALSE) != FALSE;
        sim::DragSlider(dialog, IDC_COLOR_RED_INTENSITY, 31);
        afterOther = GetUpdateRect(dialog, nullptr, FALSE) != FALSE;
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_FALSE(afterSame);
    EXPECT_TRUE(afterOther);
    EXPECT_EQ(Working().colorAdjust[qf::kColorRedIntensity], 31);
}

// A sample file: the good one from the package, changed.
std::vector<uint8_t> BadSample(const char* kind) {
    std::vector<uint8_t> file = sim::ReadWholeFile(sim::ProgramDirectory() + L"qf862k.bmp");
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    const std::string what = kind;
    if (what == "short") file.resize(qf::kSampleFileBytes - 1);
    if (what == "8-bit") {
        file[28] = 8;
        put32(46, 256);
    }
    if (what == "99 x 100") put32(18, 99);
    if (what == "lying") {  // says 100000 x 100000 pixels, far more than it holds
        put32(18, 100000);
        put32(22, 100000);
    }
    if (what == "empty") file.clear();
    if (what == "no BM tag") file[0] = 'X';
    if (what == "image size 29999") put32(34, 29999);
    return file;
}

TEST_F(ImageAdjustment, ABadSampleDrawsNothingAndTheSlidersKeepWorking) {
    const std::wstring sample = UseOwnSample();
    for (const char* kind :
         {"short", "8-bit", "99 x 100", "lying", "empty", "no BM tag", "image size 29999", "missing"}) {
        if (std::string(kind) == "missing")
            DeleteFileW(sample.c_str());
        else
            WriteBytes(sample, BadSample(kind));
        OpenQuiet(qf::kRibbonYmcko);
        bool empty = false;
        Press(kColorItem, [&](HWND dialog) {
            sim::PumpMessages();
            sim::DragSlider(dialog, IDC_COLOR_BLUE_CONTRAST, 12);
            UpdateWindow(dialog);
            empty = AllBackground(ReadSampleArea(dialog));
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_TRUE(empty) << kind;
        EXPECT_EQ(Working().colorAdjust[qf::kColorBlueContrast], 12) << kind;
        service.Cancel();
    }
    // The driver's own copy of the good sample is drawn.
    CopyFileW((sim::ProgramDirectory() + L"qf862k.bmp").c_str(), sample.c_str(), FALSE);
    OpenQuiet(qf::kRibbonYmcko);
    EXPECT_TRUE(SampleDrawn());
}

// The sample is found through the sheet's printer, by its whole name: the name the
// spooler reports, or the caller's when the sheet could not read the printer's
// information (it then edits the caller's record). A name longer than a record's device
// name (32 characters) is not cut.
TEST_F(ImageAdjustment, TheSampleIsFoundByTheSheetsWholePrinterName) {
    const std::wstring longName = L"Card Printer " + std::wstring(47, L'n');
    ASSERT_EQ(longName.size(), 60u);
    sim::Printer& other = spooler().AddPrinter(longName);
    other.devmode = printer().devmode;
    other.card.fault = sim::PortFault::kNoAnswer;
    HANDLE otherHandle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(longName.c_str()), &otherHandle, nullptr));
    Record in = DriverRecord();
    struct Case {
        const char* what;
        HANDLE handle;
        const wchar_t* name;
        DEVMODEW* input;
    };
    const Case cases[] = {
        {"a 60-character name", otherHandle, longName.c_str(), nullptr},
        {"no printer information", reinterpret_cast<HANDLE>(0x777), kTestPrinter, Devmode(in)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        header.hPrinter = c.handle;
        header.pszPrinterName = const_cast<LPWSTR>(c.name);
        header.pdmIn = c.input;
        printer().card.fault = sim::PortFault::kNoAnswer;
        OpenSheet();
        EXPECT_TRUE(SampleDrawn());
        service.Cancel();
    }
    sim::SimClosePrinter(otherHandle);
}

TEST_F(ImageAdjustment, RepaintsGiveBackEveryObjectTheyTake) {
    OpenQuiet(qf::kRibbonYmcko);
    for (bool drawn : {true, false}) {
        if (!drawn) WriteBytes(UseOwnSample(), BadSample("short"));
        ProcessUsage before, after;
        Press(kColorItem, [&](HWND dialog) {
            sim::PumpMessages();
            before = ProcessUsage::Now();
            for (int i = 0; i < 20; ++i) {
                sim::DragSlider(dialog, IDC_COLOR_GREEN_INTENSITY, i - 10);
                UpdateWindow(dialog);
            }
            after = ProcessUsage::Now();
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_EQ(after.gdiObjects, before.gdiObjects) << (drawn ? "drawn" : "nothing drawn");
        EXPECT_EQ(after.handles, before.handles) << (drawn ? "drawn" : "nothing drawn");
    }
}

TEST_F(ImageAdjustment, HelpAndTheCloseBoxFollowTheDialogConventions) {
    OpenQuiet(qf::kRibbonYmcko);
    // No help file is installed beside the module: Help opens the dialog's page of the manual.
    const std::pair<int, const wchar_t*> pages[] = {{kHeadItem, L"qf862k-head-settings.html"},
                                                    {kColorItem, L"qf862k-color-correction.html"}};
    for (const auto& [item, page] : pages) {
        sim::ResetUi();
        const INT_PTR result = Press(item, [&](HWND dialog) {
            sim::ClickButton(dialog, IDC_HELP_BUTTON);
            SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(result, IDC_CLOSE_BUTTON) << item;
        EXPECT_TRUE(sim::Ui().helpCalls.empty()) << item;
        ASSERT_EQ(sim::Ui().shellCalls.size(), 1u) << item;
        EXPECT_EQ(sim::Ui().shellCalls[0].file, sim::ProgramDirectory() + page);
    }
}

// The module's tables as this build computes them (with its compiler's floating point
// and the platform's pow) are those the native tests check against the definition, entry
// by entry: their digest is the same constant.
TEST_F(ImageAdjustment, TheTablesAreTheOnesTheNativeBuildChecks) {
    uint64_t digest = 1469598103934665603ull;  // FNV-1a
    qf::AdjustTable table;
    for (int amount = qf::kColorAmountMin; amount <= qf::kColorAmountMax; ++amount) {
        qf::BuildContrastTable(amount, &table);
        for (uint8_t v : table.value) digest = (digest ^ v) * 1099511628211ull;
        qf::BuildIntensityTable(amount, &table);
        for (uint8_t v : table.value) digest = (digest ^ v) * 1099511628211ull;
    }
    EXPECT_EQ(digest, 0x1b591799815936b9ull);
}

// Another dialog of the sheet opens Head Settings with a callback record naming the
// sheet; a record naming no open sheet ends the dialog at once.
TEST_F(ImageAdjustment, HeadSettingsWithoutALiveSheetEndsAtOnce) {
    sim::DialogScript script([](HWND dialog) { EndDialog(dialog, 99); });
    EXPECT_EQ(ShowHeadSettings(nullptr, 0x1234), IDCANCEL);
    EXPECT_EQ(script.Ran(), 0);
}

}  // namespace
