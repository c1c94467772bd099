// `workbench dialog front-overlay|back-overlay|hologram`: the document sheet's overlay
// varnish editors and hologram dialog of the simulated printer, opened from the sheet's
// buttons: windows to work with a display; without one a short script shows an area and
// a bitmap in the previews and renders each dialog to a PNG file.
//
// `workbench hologram FILE.bmp|--sample|--top-down [--rotate] [--both-sides] [--copies N]
// [--contrast N]`: the hologram bitmap job of a file (or of the sample card, stored top
// line first with --top-down), made as a user makes it (the document sheet's
// "Hologram / Varnish" dialog, its region editor and Head Settings) and read back from the
// simulated spooler: its framing and size, and the image the printer would lay, decoded
// from the job, as PNG files.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "driver/overlay/hologram_decoder.h"
#include "driver/overlay/monochrome_bitmap.h"
#include "driver/overlay/region_rules.h"
#include "driver/platform/ddk.h"
#include "driver/resources/resource.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_sizes.h"
#include "sim/card_printer.h"
#include "sim/dialog_script.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

constexpr int kBothSidesItem = 5, kPrintModeItem = 6, kFrontOverlayItem = 10, kBackOverlayItem = 11, kHologramItem = 12;
// The printer's number of a hologram ribbon, which offers the hologram dialog.
constexpr wchar_t kHologramRibbon[] = L"19";

void Picture(HWND dialog, const std::wstring& name) {
    sim::PumpMessages();
    const std::wstring path = OutputDirectory() + name + L".png";
    if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
}

void Act(const char* what) { std::printf("\n> %s\n", what); }

void ChooseType(HWND dialog, int list, int type) {
    wchar_t text[80] = {};
    SendDlgItemMessageW(dialog, list, CB_GETLBTEXT, static_cast<WPARAM>(type), reinterpret_cast<LPARAM>(text));
    std::printf("\n> choose \"%s\"\n", sim::Utf8(text).c_str());
    SendDlgItemMessageW(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

// A 1-bit card picture for the previews when the user names none: a frame, a diagonal
// band and a block in the top left corner, so that a turned or upside-down picture shows
// it. `topDown` stores it top line first (a negative height), as some programs write.
std::wstring SampleBitmap(bool topDown) {
    const int width = 256, height = 160, stride = width / 8;
    std::string file(62 + static_cast<size_t>(stride * height), '\0');
    const uint8_t header[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 0, 1, 0, 0, 160, 0, 0, 0, 1, 0, 1, 0};
    for (size_t i = 0; i < sizeof header; ++i) file[i] = static_cast<char>(header[i]);
    if (topDown) {
        const uint32_t negative = static_cast<uint32_t>(-height);
        for (int i = 0; i < 4; ++i) file[22 + i] = static_cast<char>(negative >> (8 * i));
    }
    file[58] = file[59] = file[60] = static_cast<char>(0xFF);
    for (int y = 0; y < height; ++y) {
        const int stored = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const bool black = x < 4 || y < 4 || x >= width - 4 || y >= height - 4 || (x < 80 && y < 50) ||
                               (x - y * 8 / 5 > -12 && x - y * 8 / 5 < 12);
            if (!black) file[62 + static_cast<size_t>(stored * stride + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
    }
    const std::wstring path = OutputDirectory() + (topDown ? L"sample-card-top-down.bmp" : L"sample-card.bmp");
    sim::WriteWholeFile(path, file);
    std::printf("sample bitmap: %s (256 x 160, 1 bit, %s; black block at the top left)\n", sim::Utf8(path).c_str(),
                topDown ? "top line first" : "bottom line first");
    return path;
}

// Works a region editor: a first type (an area, or on the back the magnetic stripe), then
// the bitmap (choosing `file`), turned when `rotate`; a picture of each, the first named
// `firstPicture`.
void RegionScript(HWND dialog, int list, int firstType, int bitmapType, int rotateId, const std::wstring& file,
                  bool rotate, const std::wstring& picture, const std::wstring& firstPicture) {
    std::printf("\nThe \"%s\" dialog opened.\n", sim::Utf8(sim::WindowTitle(dialog)).c_str());
    ChooseType(dialog, list, firstType);
    Picture(dialog, firstPicture);
    sim::Ui().fileChoices.push_back(file);
    ChooseType(dialog, list, bitmapType);
    if (rotate != (IsDlgButtonChecked(dialog, rotateId) == BST_CHECKED)) {
        Act("click \"Rotate 180°\"");
        sim::ClickButton(dialog, rotateId);
    }
    Picture(dialog, picture);
    sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
}

struct Session {
    HMODULE driver = nullptr;
    std::wstring name;
    HANDLE printer = nullptr;
    std::vector<uint8_t> output;
    DOCUMENTPROPERTYHEADER document = {};
};

// The simulated printer with the driver default stored, ready for the document sheet.
bool StartSession(const Args& args, Session* session) {
    session->driver = StartPrinterWithDriverDefault(args);
    if (!session->driver) return false;
    session->name = SimulatedPrinterName();
    sim::SimOpenPrinterW(const_cast<LPWSTR>(session->name.c_str()), &session->printer, nullptr);
    session->output.assign(qf::kRecordSize, 0);
    session->document = {sizeof session->document,
                         0,
                         session->printer,
                         const_cast<LPWSTR>(session->name.c_str()),
                         nullptr,
                         reinterpret_cast<DEVMODEW*>(session->output.data()),
                         qf::kRecordSize,
                         DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    return true;
}

bool OpenDocumentSheet(Session& session, sim::PropertySheetService& service) {
    auto sheet = reinterpret_cast<QfPropSheetUiProc>(
        reinterpret_cast<void*>(GetProcAddress(session.driver, "DrvDocumentPropertySheets")));
    service.Open(sheet, reinterpret_cast<LPARAM>(&session.document));
    if (!service.Page()) {
        std::fprintf(stderr, "workbench: no page was added: %s\n", service.Problem().c_str());
        return false;
    }
    return true;
}

bool HasOption(const Args& args, const wchar_t* option) {
    for (const std::wstring& arg : args)
        if (arg == option) return true;
    return false;
}

std::wstring OptionValue(const Args& args, const wchar_t* option) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option) return args[i + 1];
    return std::wstring();
}

// The hologram dialog needs a ribbon that offers it; without a printer of the user's the
// simulated one carries a hologram ribbon.
Args WithHologramRibbon(Args args) {
    if (!HasOption(args, L"--ribbon") && !HasOption(args, L"--printer")) {
        args.push_back(L"--ribbon");
        args.push_back(kHologramRibbon);
    }
    return args;
}

void PrintOverlayFields(const std::vector<uint8_t>& record) {
    const auto& s = *reinterpret_cast<const qf::PrivateSettings*>(record.data() + qf::kPublicSize);
    auto region = [](const char* name, const qf::OverlayRegion& r) {
        std::printf("%s: type %u, rotated %u, area %u %u %u %u, bitmap \"%s\"\n", name, r.overlayType, r.rotated,
                    r.left, r.top, r.right, r.bottom,
                    sim::Utf8(std::wstring(reinterpret_cast<const wchar_t*>(r.bitmapPath),
                                           qf::kBitmapPathChars)).c_str());
    };
    region("frontOverlay", s.frontOverlay);
    region("backOverlay", s.backOverlay);
    std::printf("hologramOverlay: enabled %u, copies %u\n", s.hologramOverlay.enabled, s.hologramOverlay.copies);
    region("hologramOverlay.region", s.hologramOverlay.region);
}

}  // namespace

int OverlayDialogCommand(const Args& givenArgs) {
    const std::wstring kind = givenArgs.empty() ? L"" : givenArgs[0];
    const bool front = kind == L"front-overlay", back = kind == L"back-overlay", hologram = kind == L"hologram";
    if (!front && !back && !hologram) {
        std::fprintf(stderr, "usage: workbench dialog front-overlay|back-overlay|hologram [--file BMP | --top-down] "
                             "[--rotate] [--ribbon N] [--trace] [--printer FILE]\n");
        return 2;
    }
    const Args args = hologram ? WithHologramRibbon(givenArgs) : givenArgs;
    Session session;
    if (!StartSession(args, &session)) return 1;
    std::wstring file = OptionValue(args, L"--file");
    const bool rotate = HasOption(args, L"--rotate");
    const bool topDown = HasOption(args, L"--top-down");
    if (file.empty() && (Headless() || topDown)) file = SampleBitmap(topDown);
    sim::Ui().realFileDialog = !Headless();
    int status = 0;
    {
        sim::PropertySheetService service;
        const int item = front ? kFrontOverlayItem : back ? kBackOverlayItem : kHologramItem;
        if (!OpenDocumentSheet(session, service)) {
            status = 1;
        } else {
            // The back side is edited only when both sides are printed, in a print mode that
            // varnishes the back.
            if (back) {
                service.Select(kBothSidesItem, 1);
                service.Select(kPrintModeItem, 1);
            }
            std::printf("\nThe document sheet of \"%s\", ribbon: %s; pressing \"%s\":\n",
                        sim::Utf8(session.name).c_str(), sim::Utf8(service.CurrentChoice(4)).c_str(),
                        sim::Utf8(service.ItemTitle(item)).c_str());
            if (!service.CanChange(item)) {
                std::fprintf(stderr, "workbench: the sheet's button is disabled for this ribbon (try --ribbon 21)\n");
                status = 1;
            } else if (!Headless()) {
                if (!file.empty()) sim::Ui().fileChoices.push_back(file);
                service.PushButton(item);
            } else {
                sim::DialogScript script;
                if (hologram) {
                    script.Then([](HWND dialog) {
                        Picture(dialog, L"hologram");
                        if (IsDlgButtonChecked(dialog, IDC_HOLOGRAM_ENABLE) != BST_CHECKED) {
                            Act("click \"Enable\"");
                            sim::ClickButton(dialog, IDC_HOLOGRAM_ENABLE);
                        }
                        Act("press \"Hologram Overlay Varnish at front\"");
                        sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
                        Act("press \"Print Hologram Overlay Varnish\"");
                        sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
                        std::printf("jobs sent: %zu\n", sim::Spooler::Get().jobs.size());
                        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                    });
                    script.Then([&](HWND dialog) {
                        RegionScript(dialog, IDC_HOLOGRAM_TYPE, qf::kHologramArea, qf::kHologramBitmap,
                                     IDC_HOLOGRAM_ROTATE, file, rotate, L"hologram-region", L"hologram-region-area");
                    });
                } else {
                    // The back shows what a card's back needs: the magnetic stripe kept bare.
                    script.Then([&](HWND dialog) {
                        if (front)
                            RegionScript(dialog, IDC_OVERLAY_TYPE, qf::kOverlayArea, qf::kOverlayBitmap,
                                         IDC_OVERLAY_ROTATE, file, rotate, L"front-overlay", L"front-overlay-area");
                        else
                            RegionScript(dialog, IDC_OVERLAY_TYPE, qf::kOverlayMagneticStripe, qf::kOverlayBitmap,
                                         IDC_OVERLAY_ROTATE, file, rotate, L"back-overlay", L"back-overlay-stripe");
                    });
                }
                const INT_PTR result = service.PushButton(item);
                std::printf("\nThe dialog ended with %ld.\n", static_cast<long>(result));
                for (const std::wstring& title : script.LeftOpen())
                    std::fprintf(stderr, "workbench: the dialog \"%s\" was left open\n", sim::Utf8(title).c_str());
            }
            service.Apply();
            service.Commit();
            std::printf("\nThe sheet was closed with OK; the committed record holds:\n");
            PrintOverlayFields(session.output);
        }
    }
    sim::SimClosePrinter(session.printer);
    return status;
}

namespace {

// Writes a hologram image as a PNG file, white dots white and hologram dots black.
bool SaveHologramPng(const qf::HologramImage& image, const std::wstring& path) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    // Rows top first, as the image keeps them; a set bit is colour 1, white.
    info.header = {sizeof(BITMAPINFOHEADER), int(qf::kHologramWidth), -int(qf::kHologramHeight), 1, 1, BI_RGB,
                   0, 0, 0, 2, 0};
    info.colours[1] = {255, 255, 255, 0};
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, qf::kHologramWidth, qf::kHologramHeight);
    const bool filled = bitmap && SetDIBits(screen, bitmap, 0, qf::kHologramHeight, image.rows,
                                            reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS) > 0;
    ReleaseDC(nullptr, screen);
    const bool saved = filled && sim::SaveBitmapPng(bitmap, path);
    if (bitmap) DeleteObject(bitmap);
    return saved;
}

// The job's writes, the short ones (commands) as text and each stretch of image data as
// its size.
void PrintFraming(const sim::RawJob& job) {
    std::printf("\nThe job \"%s\" on \"%s\" (datatype %s), %zu writes:\n", sim::Utf8(job.documentName).c_str(),
                sim::Utf8(job.printer).c_str(), sim::Utf8(job.datatype).c_str(), job.blocks.size());
    size_t total = 0, dataWrites = 0, dataBytes = 0;
    auto flushData = [&] {
        if (dataWrites) std::printf("  image data: %zu writes, %zu bytes\n", dataWrites, dataBytes);
        dataWrites = dataBytes = 0;
    };
    for (const std::vector<uint8_t>& block : job.blocks) {
        const std::string bytes(block.begin(), block.end());
        total += bytes.size();
        if (bytes == "\r" || (!bytes.empty() && bytes[0] == '\x1B')) {
            flushData();
            std::printf("  %s\n", sim::Visible(bytes).c_str());
        } else {
            ++dataWrites;
            dataBytes += bytes.size();
        }
    }
    flushData();
    std::printf("job size: %zu bytes\n", total);
}

}  // namespace

int HologramCommand(const Args& givenArgs) {
    const bool named = !givenArgs.empty() && givenArgs[0].rfind(L"--", 0) != 0;
    if (!named && !HasOption(givenArgs, L"--top-down") && !HasOption(givenArgs, L"--sample")) {
        std::fprintf(stderr, "usage: workbench hologram FILE.bmp|--sample|--top-down [--rotate] [--both-sides] "
                             "[--copies N] [--contrast N] [--trace]\n");
        return 2;
    }
    const Args args = WithHologramRibbon(givenArgs);
    // Without a file the sample card is printed, stored top line first with --top-down.
    const std::wstring file = named ? args[0] : SampleBitmap(HasOption(args, L"--top-down"));
    const bool rotate = HasOption(args, L"--rotate"), bothSides = HasOption(args, L"--both-sides");
    const std::wstring copies = OptionValue(args, L"--copies");
    const std::wstring contrast = OptionValue(args, L"--contrast");
    std::vector<uint8_t> bytes;
    if (!sim::ReadWholeFile(file, &bytes)) {
        std::fprintf(stderr, "workbench: cannot read %s\n", sim::Utf8(file).c_str());
        return 1;
    }
    qf::MonochromeBitmap bitmap{};
    const qf::BitmapCheck check = qf::CheckMonochromeBitmap(bytes.data(), bytes.size(), &bitmap);
    std::printf("%s: %zu bytes", sim::Utf8(file).c_str(), bytes.size());
    if (check == qf::BitmapCheck::Ok)
        std::printf(", a monochrome bitmap of %d x %d\n", bitmap.width, bitmap.height);
    else
        std::printf(", not a monochrome bitmap the driver takes (check %d): the driver shows \"System Error\"\n",
                    static_cast<int>(check));

    Session session;
    if (!StartSession(args, &session)) return 1;
    int status = 0;
    {
        sim::PropertySheetService service;
        if (!OpenDocumentSheet(session, service)) {
            status = 1;
        } else if (!service.CanChange(kHologramItem)) {
            std::fprintf(stderr, "workbench: \"Hologram / Varnish\" is disabled for this ribbon\n");
            status = 1;
        } else {
            // The driver default prints both sides: the sheet's item is set either way, so
            // that the job is one-sided unless --both-sides asks otherwise.
            service.Select(kBothSidesItem, bothSides ? 1 : 0);
            if (bothSides && service.Item(kBothSidesItem)->Sel != 1)
                std::printf("\"Print on both sides\" cannot be chosen for this printer\n");
            sim::DialogScript script;
            script.Then([&](HWND dialog) {
                if (IsDlgButtonChecked(dialog, IDC_HOLOGRAM_ENABLE) != BST_CHECKED)
                    sim::ClickButton(dialog, IDC_HOLOGRAM_ENABLE);
                sim::SetControlText(dialog, IDC_HOLOGRAM_COPIES, copies.empty() ? L"1" : copies);
                sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
                if (!contrast.empty()) sim::ClickButton(dialog, IDC_HOLOGRAM_HEAD_SETTINGS);
                sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
            });
            script.Then([&](HWND dialog) {
                sim::Ui().fileChoices.push_back(file);
                ChooseType(dialog, IDC_HOLOGRAM_TYPE, qf::kHologramBitmap);
                if (sim::ControlText(dialog, IDC_HOLOGRAM_PATH) != file) {
                    sim::Ui().fileChoices.push_back(file);
                    sim::ClickButton(dialog, IDC_HOLOGRAM_BROWSE);
                }
                if (rotate != (IsDlgButtonChecked(dialog, IDC_HOLOGRAM_ROTATE) == BST_CHECKED))
                    sim::ClickButton(dialog, IDC_HOLOGRAM_ROTATE);
                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
            });
            if (!contrast.empty())
                script.Then([&](HWND dialog) {
                    if (!sim::DragSlider(dialog, IDC_HEAD_HOLOGRAM, static_cast<int>(std::wcstol(contrast.c_str(), nullptr, 10))))
                        std::printf("the \"Hologram / Varnish (H)\" slider is disabled for this ribbon\n");
                    sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                });
            sim::Ui().fileChoices.clear();
            service.PushButton(kHologramItem);
            service.Cancel();
        }
    }
    sim::SimClosePrinter(session.printer);
    if (status != 0) return status;

    const std::vector<sim::RawJob>& jobs = sim::Spooler::Get().jobs;
    if (jobs.empty()) {
        std::printf("\nNo job was sent.\n");
        return check == qf::BitmapCheck::Ok ? 1 : 0;
    }
    const sim::RawJob& job = jobs.back();
    PrintFraming(job);
    std::string stream;
    for (const std::vector<uint8_t>& block : job.blocks) stream.append(block.begin(), block.end());
    qf::HologramJobContent content;
    std::string error;
    if (!qf::DecodeHologramImageJob(stream, content, &error)) {
        std::printf("the job does not decode: %s\n", error.c_str());
        return 1;
    }
    std::printf("decoded: H contrast %u, %s, %u card(s)\n", content.contrast,
                content.bothSides ? "both sides" : "front only", content.cards);
    // What the printer lays should be the file stretched over the card, turned when asked.
    qf::HologramImage expected;
    qf::RenderHologramImage(bitmap, rotate, expected);
    for (size_t side = 0; side < content.sides.size(); ++side) {
        const std::wstring path = OutputDirectory() + (side == 0 ? L"hologram-front.png" : L"hologram-back.png");
        if (SaveHologramPng(content.sides[side], path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
        const bool same = std::memcmp(content.sides[side].rows, expected.rows, sizeof expected.rows) == 0;
        std::printf("%s side: %s\n", side == 0 ? "front" : "back",
                    same ? (rotate ? "the file turned by 180 degrees, dot for dot" : "the file, dot for dot")
                         : "differs from the file");
        if (!same) status = 1;
    }
    return status;
}
