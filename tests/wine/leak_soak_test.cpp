// The leak soak: the module's sheets, settings calls and painted dialogs, many times
// over in one process. After a first round that lets the platform settle, the process's
// handles, GDI and USER objects, runtime heap blocks and private bytes, and the
// simulated spooler's open printer handles, must be where they were. The figures are
// printed so that a run shows them.
#include "tests/wine/wine_test.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <functional>

#include "driver/resources/resource.h"
#include "sim/dialog_script.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "tests/wine/process_usage.h"
#include "tests/wine/records.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);

constexpr int kColorAdjustItem = 3;  // the document sheet's "Color Adjustment" button
constexpr int kFrontOverlayItem = 10, kHologramItem = 12;

// A monochrome bitmap of 32 x 8 pixels, striped, for the overlay previews and the
// hologram job.
std::string StripedBitmap() {
    std::string file(62 + 4 * 8, '\0');
    const uint8_t header[] = {'B', 'M', 94, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 32, 0, 0, 0, 8, 0, 0, 0, 1, 0, 1, 0};
    std::memcpy(&file[0], header, sizeof header);
    for (size_t i = 62; i < file.size(); ++i) file[i] = static_cast<char>(0x0F);
    return file;
}

class LeakSoak : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Record stored = DriverRecord();
        Private(stored).ribbonType = 0;  // YMCKO, what the simulated printer reports
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    }
    void TearDown() override {
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }

    // Runs `round` once to settle, then `count` times, and compares what the process held
    // before and after the counted rounds.
    void Soak(const char* what, int count, const std::function<void()>& round) {
        round();
        const ProcessUsage before = ProcessUsage::Now();
        const int spoolerBefore = spooler().OpenHandleCount();
        for (int i = 0; i < count; ++i) round();
        const ProcessUsage after = ProcessUsage::Now();
        std::printf("soak %-30s x%-5d handles %zu -> %zu, GDI %zu -> %zu, windows %zu -> %zu, heap blocks %zu -> "
                    "%zu, private bytes %zu -> %zu, printer handles open %d -> %d\n",
                    what, count, before.handles, after.handles, before.gdiObjects, after.gdiObjects, before.windows,
                    after.windows, before.heapBlocks, after.heapBlocks, before.privateBytes, after.privateBytes,
                    spoolerBefore, spooler().OpenHandleCount());
        EXPECT_EQ(after.handles, before.handles) << what;
        EXPECT_EQ(after.gdiObjects, before.gdiObjects) << what;
        EXPECT_EQ(after.windows, before.windows) << what;
        EXPECT_EQ(after.heapBlocks, before.heapBlocks) << what;
        EXPECT_EQ(spooler().OpenHandleCount(), spoolerBefore) << what;
        // The platform's own allocators keep some slack; a leak of a record or a page per
        // round would show as megabytes.
        EXPECT_LT(after.privateBytes, before.privateBytes + 512 * 1024) << what;
    }

    HANDLE handle = nullptr;
};

TEST_F(LeakSoak, SheetsSettingsCallsAndPaints) {
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, out);
    int round = 0;
    Soak("document sheet open and close", 500, [&] {
        sim::PropertySheetService service;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                               reinterpret_cast<LPARAM>(&document)),
                  1);
        service.Select(15, 1 + round % 5);
        if (++round % 2) service.Commit(); else service.Cancel();
    });

    DEVICEPROPERTYHEADER device{sizeof device, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    Soak("device sheet open and close", 500, [&] {
        sim::PropertySheetService service;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&device)),
                  1);
        service.Apply();
        service.Cancel();
        spooler().setPrinterLog.clear();  // the stand-in's own record of the stores
    });

    auto docProps = Export<DocPropsFn>("DrvDocumentProperties");
    Record in = DriverRecord();
    Soak("DrvDocumentProperties", 5000, [&] {
        EXPECT_EQ(docProps(nullptr, handle, nullptr, Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
    });

    // The About box, opened from the device sheet, repainted a thousand times.
    sim::PropertySheetService service;
    ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&device)),
              1);
    HWND about = nullptr;
    sim::DialogScript script([&](HWND dialog) {
        about = dialog;
        Soak("About box paint", 1000, [dialog] {
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        });
        sim::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(service.About(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(script.Ran(), 1);
    EXPECT_NE(about, nullptr);
    service.Cancel();

    // The colour correction dialog, opened and closed, and its sample repainted.
    sim::PropertySheetService documentSheet;
    ASSERT_EQ(documentSheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                                 reinterpret_cast<LPARAM>(&document)),
              1);
    Soak("colour correction open and close", 50, [&] {
        sim::DialogScript close([](HWND dialog) { sim::ClickButton(dialog, IDC_CLOSE_BUTTON); });
        documentSheet.PushButton(kColorAdjustItem);
    });
    sim::DialogScript paints([&](HWND dialog) {
        Soak("colour correction sample paint", 1000, [dialog] {
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        });
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    documentSheet.PushButton(kColorAdjustItem);
    EXPECT_EQ(paints.Ran(), 1);
    documentSheet.Cancel();

    // The overlay editor with a bitmap, whose preview reads and draws the file on every
    // paint, and with an area; then the hologram dialog, its region editor and a bitmap
    // job. The printer reports a clear varnish ribbon, which offers both.
    const std::wstring bitmap = spooler().DriverFile(L"soak.bmp");
    ASSERT_TRUE(sim::WriteWholeFile(bitmap, StripedBitmap()));
    qf::PrivateSettings& stored = Private(printer().devmode);
    stored.ribbonType = 9;
    printer().card.ribbonNumber = 21;
    stored.frontOverlay.overlayType = 4;
    std::memset(stored.frontOverlay.bitmapPath, 0, sizeof stored.frontOverlay.bitmapPath);
    std::memcpy(stored.frontOverlay.bitmapPath, bitmap.c_str(), bitmap.size() * sizeof(wchar_t));
    stored.hologramOverlay.enabled = 1;
    stored.hologramOverlay.copies = 1;
    stored.hologramOverlay.region = stored.frontOverlay;
    stored.hologramOverlay.region.overlayType = 3;
    sim::PropertySheetService overlaySheet;
    ASSERT_EQ(overlaySheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                                reinterpret_cast<LPARAM>(&document)),
              1);
    Soak("overlay editor open and close", 50, [&] {
        sim::DialogScript close([](HWND dialog) { sim::ClickButton(dialog, IDC_CLOSE_BUTTON); });
        overlaySheet.PushButton(kFrontOverlayItem);
    });
    sim::DialogScript overlayPaints([&](HWND dialog) {
        for (int type : {4, 3}) {
            SendDlgItemMessageW(dialog, IDC_OVERLAY_TYPE, CB_SETCURSEL, type, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OVERLAY_TYPE, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OVERLAY_TYPE)));
            Soak(type == 4 ? "overlay bitmap preview paint" : "overlay area preview paint", 1000, [dialog] {
                RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            });
        }
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    overlaySheet.PushButton(kFrontOverlayItem);
    EXPECT_EQ(overlayPaints.Ran(), 1);
    sim::DialogScript hologram([&](HWND dialog) {
        Soak("hologram dialog paint", 1000, [dialog] {
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        });
        Soak("hologram region editor", 30, [dialog] {
            sim::DialogScript editor([](HWND region) {
                RedrawWindow(region, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                sim::ClickButton(region, IDC_CLOSE_BUTTON);
            });
            sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
        });
        Soak("hologram bitmap job", 30, [&, dialog] {
            sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
            EXPECT_EQ(spooler().jobs.size(), 1u);
            spooler().jobs.clear();  // the stand-ins' own records of the jobs
            printer().card.received.clear();
        });
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    overlaySheet.PushButton(kHologramItem);
    EXPECT_EQ(hologram.Ran(), 1);
    overlaySheet.Cancel();
}

}  // namespace
