// The encoder and single-feed dialogs, opened from the device sheet in the workbench.
#include "workbench/encoder_walkthrough.h"

#include <windows.h>

#include <cstdio>

#include "driver/settings/record_fields.h"
#include "driver/settings/record_sizes.h"
#include "sim/dialog_script.h"
#include "sim/screenshot.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

enum Item { kEncoderItem = 1, kSingleFeedItem = 4 };

std::vector<std::string> PrivateFields(const Bytes& record) {
    if (record.size() < sizeof(DEVMODEW)) return {};
    const size_t publicSize = reinterpret_cast<const DEVMODEW*>(record.data())->dmSize;
    if (record.size() < publicSize) return {};
    return qf::DescribeFields(record.data() + publicSize, record.size() - publicSize, true, DriverRibbonName);
}

Bytes StoredRecord() {
    const sim::Printer* printer = sim::Spooler::Get().Find(SimulatedPrinterName());
    return printer ? printer->devmode : Bytes();
}

void Picture(HWND dialog, const std::wstring& path) {
    sim::PumpMessages();
    if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
}

void Click(HWND dialog, int id) {
    std::printf("  click \"%s\"\n", sim::Utf8(sim::ControlText(dialog, id)).c_str());
    if (!sim::ClickButton(dialog, id)) std::printf("  (the button is disabled: nothing happens)\n");
}

void Pick(HWND dialog, int id, int index, const char* what) {
    if (!IsWindowEnabled(GetDlgItem(dialog, id))) {
        std::printf("  the %s list is disabled\n", what);
        return;
    }
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    std::printf("  picked %s \"%s\"\n", what, sim::Utf8(sim::ControlText(dialog, id)).c_str());
}

// Apply, and Cancel when Apply left the dialog open (a dialog that shows its settings only,
// for an ordinary user, has no Apply to press).
void ApplyOrCancel(HWND dialog, int applyId, int cancelId) {
    Click(dialog, applyId);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) Click(dialog, cancelId);
}

// Presses a push button of the sheet with the dialog scripts queued, then prints what
// the dialogs changed in the stored record.
void PressWith(sim::PropertySheetService& service, int item, sim::DialogScript& scripts) {
    const Bytes before = StoredRecord();
    std::printf("\nPressing \"%s\":\n", sim::Utf8(service.ItemTitle(item)).c_str());
    if (!service.CanChange(item)) {
        std::printf("  the button is disabled\n");
        return;
    }
    const INT_PTR result = service.PushButton(item);
    std::printf("  the dialog ended with %ld\n", static_cast<long>(result));
    PrintStoredChange(before, StoredRecord());
}

}  // namespace

void PrintStoredChange(const Bytes& before, const Bytes& after) {
    const std::vector<std::string> was = PrivateFields(before);
    const std::vector<std::string> now = PrivateFields(after);
    if (before == after) {
        std::printf("The printer's stored record did not change.\n");
        return;
    }
    std::printf("The printer's stored record changed:\n");
    if (was.size() != now.size()) {
        std::printf("    (its layout changed: %zu fields before, %zu after)\n", was.size(), now.size());
        return;
    }
    for (size_t i = 0; i < was.size(); ++i)
        if (was[i] != now[i]) std::printf("    was %s\n    now %s\n", was[i].c_str(), now[i].c_str());
}

void WalkEncoderDialogs(sim::PropertySheetService& service, const std::wstring& dir) {
    {
        sim::DialogScript scripts([&](HWND dialog) {
            Picture(dialog, dir + L"device-encoder.png");
            Click(dialog, 1620);  // High Coercivity
            Click(dialog, 1603);  // Advanced settings
            ApplyOrCancel(dialog, 1655, 1605);
        });
        scripts.Then([&](HWND dialog) {
            Picture(dialog, dir + L"device-advanced.png");
            Click(dialog, 1629);  // Track 2
            Pick(dialog, 1631, 4, "mode");
            ApplyOrCancel(dialog, 1654, IDCANCEL);
        });
        PressWith(service, kEncoderItem, scripts);
    }
    {
        sim::DialogScript scripts([&](HWND dialog) {
            Picture(dialog, dir + L"device-single-feed.png");
            Click(dialog, 1004);  // Disable Single Feed Support
            ApplyOrCancel(dialog, IDOK, IDCANCEL);
        });
        PressWith(service, kSingleFeedItem, scripts);
    }
}
