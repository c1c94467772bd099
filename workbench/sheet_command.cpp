// `workbench sheet document|device`: a property sheet of the simulated printer, opened
// through the driver's export and the property-sheet service stand-in. With a display
// the sheet is a window to work; without one (QF_HEADLESS set) it is rendered to PNG
// files, the document sheet's About box, Head Settings and Color Adjustment dialogs
// included. The item tree is printed as text, and OK prints the committed record.
//
// `workbench dialog head|color --set NAME=VALUE ...`: the document sheet's Head Settings
// or Color Adjustment dialog, with its sliders dragged to the given values: a window to
// work with a display, a PNG file without (the colour dialog's sample shows the effect).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/resources/resource.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_fields.h"
#include "driver/settings/record_sizes.h"
#include "sim/dialog_script.h"
#include "sim/driver_loader.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/sheet_window.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/encoder_walkthrough.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PrintItems(const sim::PropertySheetService& service) {
    std::printf("\nItems (title: current choice {choices}; marks show what cannot be used):\n");
    for (const std::string& line : service.DescribeItems()) std::printf("  %s\n", line.c_str());
    if (!(service.Page()->Flags & CPSUIF_UPDATE_PERMISSION))
        std::printf("  (the page is shown without update permission: its choices cannot be changed, its buttons "
                    "still open their dialogs)\n");
}

void PrintRecord(const char* title, const Bytes& record) {
    std::printf("\n%s\n", title);
    std::vector<std::string> lines = qf::DescribeFields(record.data(), qf::kPublicSize, false, DriverRibbonName);
    for (const std::string& line :
         qf::DescribeFields(record.data() + qf::kPublicSize, qf::kPrivateSize, true, DriverRibbonName))
        lines.push_back(line);
    PrintRecordLines(lines);
}

// Renders the About box the sheet opens, then closes it.
void RenderAbout(sim::PropertySheetService& service, const std::wstring& path) {
    sim::DialogScript script([&](HWND dialog) {
        sim::PumpMessages();
        if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
        sim::ClickButton(dialog, IDOK);
    });
    service.About();
}

// The document sheet's push buttons of the imaging dialogs.
constexpr int kColorAdjustItem = 3, kHeadSettingsItem = 13;
// The item each sheet's picture shows selected: the document sheet's print modes ("Front and
// Back", its list below the tree) and the device sheet's "Encoder Settings" (its button).
constexpr int kDocumentPictureItem = 6, kDevicePictureItem = 1;

// A slider of an imaging dialog by the name the workbench gives it on the command line.
struct SliderName {
    const wchar_t* name;
    int id;
};
const SliderName kHeadSliders[] = {
    {L"overlay", IDC_HEAD_OVERLAY},
    {L"resin-black", IDC_HEAD_RESIN_BLACK},
    {L"hologram", IDC_HEAD_HOLOGRAM},
    {L"yellow-intensity", IDC_HEAD_YELLOW_INTENSITY},
    {L"magenta-intensity", IDC_HEAD_MAGENTA_INTENSITY},
    {L"cyan-intensity", IDC_HEAD_CYAN_INTENSITY},
    {L"black-intensity", IDC_HEAD_BLACK_INTENSITY},
    {L"yellow-contrast", IDC_HEAD_YELLOW_CONTRAST},
    {L"magenta-contrast", IDC_HEAD_MAGENTA_CONTRAST},
    {L"cyan-contrast", IDC_HEAD_CYAN_CONTRAST},
    {L"black-contrast", IDC_HEAD_BLACK_CONTRAST},
};
const SliderName kColorSliders[] = {
    {L"black-intensity", IDC_COLOR_BLACK_INTENSITY},
    {L"red-intensity", IDC_COLOR_RED_INTENSITY},
    {L"green-intensity", IDC_COLOR_GREEN_INTENSITY},
    {L"blue-intensity", IDC_COLOR_BLUE_INTENSITY},
    {L"black-contrast", IDC_COLOR_BLACK_CONTRAST},
    {L"red-contrast", IDC_COLOR_RED_CONTRAST},
    {L"green-contrast", IDC_COLOR_GREEN_CONTRAST},
    {L"blue-contrast", IDC_COLOR_BLUE_CONTRAST},
};

struct SliderMove {
    std::wstring name;
    int id;
    int position;
};

// Moves the dialog's sliders as a user drags them, and says what each move did.
void MoveSliders(HWND dialog, const std::vector<SliderMove>& moves) {
    for (const SliderMove& move : moves) {
        if (!sim::DragSlider(dialog, move.id, move.position)) {
            std::printf("%s: the slider is disabled for this ribbon; left as it is\n", sim::Utf8(move.name).c_str());
            continue;
        }
        std::printf("%s moved to %d\n", sim::Utf8(move.name).c_str(), sim::SliderPosition(dialog, move.id));
    }
}

// Prints every slider of the dialog with the value it shows and whether it can be used
// (Wine draws a disabled trackbar like an enabled one).
void PrintSliders(HWND dialog) {
    const bool head = GetDlgItem(dialog, IDC_HEAD_SLIDER_FIRST) != nullptr;
    auto print = [&](const SliderName* sliders, size_t count, int labelOffset) {
        std::printf("Sliders of \"%s\":\n", sim::Utf8(sim::WindowTitle(dialog)).c_str());
        for (size_t i = 0; i < count; ++i) {
            HWND slider = GetDlgItem(dialog, sliders[i].id);
            std::printf("  %-18s %5s%s\n", sim::Utf8(sliders[i].name).c_str(),
                        sim::Utf8(sim::ControlText(dialog, sliders[i].id + labelOffset)).c_str(),
                        IsWindowEnabled(slider) ? "" : "  (disabled)");
        }
    };
    if (head)
        print(kHeadSliders, sizeof kHeadSliders / sizeof kHeadSliders[0], IDC_HEAD_VALUE_FIRST - IDC_HEAD_SLIDER_FIRST);
    else
        print(kColorSliders, sizeof kColorSliders / sizeof kColorSliders[0],
              IDC_COLOR_VALUE_FIRST - IDC_COLOR_SLIDER_FIRST);
}

// Presses an imaging push button of the sheet, moves the sliders and renders the dialog
// to `path`, then closes it.
void RenderImagingDialog(sim::PropertySheetService& service, int item, const std::vector<SliderMove>& moves,
                         const std::wstring& path) {
    sim::DialogScript script([&](HWND dialog) {
        MoveSliders(dialog, moves);
        PrintSliders(dialog);
        sim::PumpMessages();
        if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    if (service.PushButton(item) == sim::PropertySheetService::kRefused)
        std::fprintf(stderr, "workbench: %s\n", service.Problem().c_str());
}

// Presses an imaging push button of the sheet, moves the sliders and leaves the dialog
// to the user.
void ShowImagingDialog(sim::PropertySheetService& service, int item, const std::vector<SliderMove>& moves) {
    sim::DialogScript script(
        [&](HWND dialog) {
            MoveSliders(dialog, moves);
            PrintSliders(dialog);
        },
        USER_TIMER_MAXIMUM);
    if (service.PushButton(item) == sim::PropertySheetService::kRefused)
        std::fprintf(stderr, "workbench: %s\n", service.Problem().c_str());
}

// NAME=VALUE against the dialog's slider names.
template <size_t N>
bool ParseMove(const std::wstring& text, const SliderName (&sliders)[N], SliderMove* move) {
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) return false;
    const std::wstring name = text.substr(0, equals);
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str() + equals + 1, &end, 10);
    if (end == text.c_str() + equals + 1 || *end != L'\0') return false;
    for (const SliderName& slider : sliders)
        if (name == slider.name) {
            *move = SliderMove{name, slider.id, static_cast<int>(value)};
            return true;
        }
    return false;
}

template <size_t N>
void PrintSliderNames(const char* dialog, const SliderName (&sliders)[N]) {
    std::fprintf(stderr, "  %s:", dialog);
    for (const SliderName& slider : sliders) std::fprintf(stderr, " %s", sim::Utf8(slider.name).c_str());
    std::fprintf(stderr, "\n");
}

void PrintImagingFields(const Bytes& record) {
    const auto& settings = *reinterpret_cast<const qf::PrivateSettings*>(record.data() + qf::kPublicSize);
    std::printf("headSettings:");
    for (int i = 0; i < qf::kHeadSettingCount; ++i) std::printf(" %d", settings.headSettings[i]);
    std::printf("\ncolorAdjust:");
    for (int i = 0; i < qf::kColorAdjustCount; ++i) std::printf(" %d", int(settings.colorAdjust[i]));
    std::printf("\ncolorAdjustExtra: %d\n", settings.colorAdjustExtra);
}

// The frame the platform puts around each page: document settings in the printer's
// Printing Preferences window, device settings as one tab of its Properties window, beside
// the platform's own pages.
struct SheetFrame {
    std::wstring title;
    std::vector<std::wstring> tabs;
    int pageTab;
};

SheetFrame FrameOf(const std::wstring& kind, const std::wstring& printer) {
    if (kind == L"document") return {printer + L" Printing Preferences", {L"Advanced"}, 0};
    return {printer + L" Properties",
            {L"General", L"Sharing", L"Ports", L"Advanced", L"Color Management", L"Security", L"Device Settings"},
            6};
}

int Show(sim::PropertySheetService& service, const std::wstring& kind, const std::wstring& printer) {
    const SheetFrame frame = FrameOf(kind, printer);
    if (!Headless()) {
        sim::SheetWindow window(service, frame.title);
        window.SetTabs(frame.tabs, frame.pageTab);
        if (!window.Create(true)) {
            std::fprintf(stderr, "workbench: cannot create the sheet window\n");
            return IDCANCEL;
        }
        return window.Run();
    }
    const std::wstring dir = OutputDirectory();
    const std::wstring sheetPng = dir + kind + L"-sheet.png";
    const int selected = kind == L"document" ? kDocumentPictureItem : kDevicePictureItem;
    if (sim::RenderSheetPng(service, frame.title, sheetPng, selected, frame.tabs, frame.pageTab))
        std::printf("picture: %s\n", sim::Utf8(sheetPng).c_str());
    RenderAbout(service, dir + kind + L"-about.png");
    if (kind == L"document") {
        RenderImagingDialog(service, kHeadSettingsItem, {}, dir + L"head-settings.png");
        RenderImagingDialog(service, kColorAdjustItem, {}, dir + L"color-correction.png");
    }
    if (kind == L"device") WalkEncoderDialogs(service, dir);
    // OK, as the service does it: apply the page, then hand over the result.
    service.Apply();
    service.Commit();
    return IDOK;
}

}  // namespace

int SheetCommand(const Args& args) {
    const std::wstring kind = args.empty() ? L"document" : args[0];
    if (kind != L"document" && kind != L"device") {
        std::fprintf(stderr, "usage: workbench sheet document|device [--trace] [--printer FILE]\n");
        return 2;
    }
    HMODULE driver = StartPrinterWithDriverDefault(args);
    if (!driver) return 1;
    const std::wstring name = SimulatedPrinterName();
    HANDLE printer = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr);

    Bytes output(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = {sizeof document, 0, printer, const_cast<LPWSTR>(name.c_str()), nullptr,
                                       reinterpret_cast<DEVMODEW*>(output.data()), qf::kRecordSize,
                                       DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    DEVICEPROPERTYHEADER device = {sizeof device, DeviceSheetFlags(), printer, const_cast<LPWSTR>(name.c_str())};
    const bool isDocument = kind == L"document";
    std::printf("\nOpening the %s sheet of \"%s\":\n", sim::Utf8(kind).c_str(), sim::Utf8(name).c_str());

    int status = 0;
    const std::vector<uint8_t> storedBefore = sim::Spooler::Get().Find(name)->devmode;
    {
        sim::PropertySheetService service;
        const char* exportName = isDocument ? "DrvDocumentPropertySheets" : "DrvDevicePropertySheets";
        auto sheet = reinterpret_cast<QfPropSheetUiProc>(reinterpret_cast<void*>(GetProcAddress(driver, exportName)));
        const LONG opened = service.Open(sheet, isDocument ? reinterpret_cast<LPARAM>(&document)
                                                           : reinterpret_cast<LPARAM>(&device));
        std::printf("%s answered INIT with %ld\n", exportName, opened);
        if (!service.Page()) {
            std::fprintf(stderr, "workbench: no page was added%s%s\n", service.Problem().empty() ? "" : ": ",
                         service.Problem().c_str());
            status = 1;
        } else {
            PrintItems(service);
            const int result = Show(service, kind, name);
            std::printf("\nThe sheet was closed with %s.\n", result == IDOK ? "OK" : "Cancel");
            if (result == IDOK && isDocument) PrintRecord("Committed record (the caller's output DEVMODE):", output);
            if (!isDocument) {
                const auto& log = sim::Spooler::Get().setPrinterLog;
                std::printf("The printer's stored defaults were written %zu time(s).\n", log.size());
                PrintStoredChange(storedBefore, sim::Spooler::Get().Find(name)->devmode);
                PrintPrinterRecord("The printer's record after the sheet closed:", name);
            }
        }
    }
    sim::SimClosePrinter(printer);
    return status;
}

int ImagingDialogCommand(const Args& args) {
    const std::wstring kind = args.empty() ? L"" : args[0];
    if (kind != L"head" && kind != L"color") {
        std::fprintf(stderr, "usage: workbench dialog head|color [--set NAME=VALUE ...] [--ribbon N] [--trace] "
                             "[--printer FILE]\nslider names:\n");
        PrintSliderNames("head", kHeadSliders);
        PrintSliderNames("color", kColorSliders);
        return 2;
    }
    const bool head = kind == L"head";
    std::vector<SliderMove> moves;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] != L"--set") continue;
        SliderMove move;
        const bool parsed = i + 1 < args.size() && (head ? ParseMove(args[i + 1], kHeadSliders, &move)
                                                         : ParseMove(args[i + 1], kColorSliders, &move));
        if (!parsed) {
            std::fprintf(stderr, "workbench: --set takes NAME=VALUE with a slider of the %s dialog\n",
                         sim::Utf8(kind).c_str());
            return 2;
        }
        moves.push_back(move);
        ++i;
    }
    HMODULE driver = StartPrinterWithDriverDefault(args);
    if (!driver) return 1;
    const std::wstring name = SimulatedPrinterName();
    HANDLE printer = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr);
    Bytes output(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = {sizeof document, 0, printer, const_cast<LPWSTR>(name.c_str()), nullptr,
                                       reinterpret_cast<DEVMODEW*>(output.data()), qf::kRecordSize,
                                       DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    int status = 0;
    {
        sim::PropertySheetService service;
        auto sheet = reinterpret_cast<QfPropSheetUiProc>(
            reinterpret_cast<void*>(GetProcAddress(driver, "DrvDocumentPropertySheets")));
        service.Open(sheet, reinterpret_cast<LPARAM>(&document));
        if (!service.Page()) {
            std::fprintf(stderr, "workbench: no page was added: %s\n", service.Problem().c_str());
            status = 1;
        } else {
            const int item = head ? kHeadSettingsItem : kColorAdjustItem;
            std::printf("\nThe document sheet of \"%s\", ribbon: %s; pressing \"%s\":\n", sim::Utf8(name).c_str(),
                        sim::Utf8(service.CurrentChoice(4)).c_str(), sim::Utf8(service.ItemTitle(item)).c_str());
            if (Headless())
                RenderImagingDialog(service, item, moves,
                                    OutputDirectory() + (head ? L"head-settings.png" : L"color-correction.png"));
            else
                ShowImagingDialog(service, item, moves);
            service.Apply();
            service.Commit();
            std::printf("\nThe sheet was closed with OK; the committed record holds:\n");
            PrintImagingFields(output);
        }
    }
    sim::SimClosePrinter(printer);
    return status;
}
