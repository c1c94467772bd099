// The manual command: renders every picture of the operator's manual from the real
// module, beside the DLL where the manual's pages lie, under the names the pages use
// ("qf862k-" and the workbench's own picture name). Each picture comes from the same
// command a user runs: the sheets, the maintenance dialogs, the overlay and hologram
// dialogs, and a hologram job decoded back beside its source bitmap. With --lang and
// --languages-page it renders the few windows the manual's language page shows in that
// language ("qf862k-de-tools.png" and the like).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "sim/driver_loader.h"
#include "sim/files.h"
#include "sim/screenshot.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"

namespace {

constexpr wchar_t kPicturePrefix[] = L"qf862k-";
constexpr wchar_t kCardFolder[] = L"C:\\Cards";

// A card picture of 1024 x 640 dots, 1 bit per dot, as overlay and hologram pictures are
// drawn: `black(x, y)` (x across, y down from the top-left corner) tells the dots that get
// varnish or hologram.
template <typename Black>
std::string CardBitmap(Black black) {
    const int width = 1024, height = 640, stride = width / 8;
    std::string file(62 + static_cast<size_t>(stride) * height, '\0');
    auto put32 = [&file](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;  // planes
    file[28] = 1;  // bits per pixel
    put32(38, 11811);
    put32(42, 11811);
    file[58] = file[59] = file[60] = static_cast<char>(0xFF);  // colour 1 is white
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!black(x, y))
                file[62 + static_cast<size_t>((height - 1 - y) * stride + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    return file;
}

// The front design: a frame, a block in the top left corner and stripes that show which
// way it lies.
std::string FrontDesignBitmap() {
    return CardBitmap([](int x, int y) {
        const bool frame = x < 12 || y < 12 || x >= 1024 - 12 || y >= 640 - 12;
        const bool corner = x >= 48 && x < 304 && y >= 48 && y < 208;
        const bool stripes = y >= 420 && y < 580 && x >= 360 && ((x - y) / 24) % 2 == 0;
        const bool band = x - y * 8 / 5 > 340 && x - y * 8 / 5 < 400;
        return frame || corner || stripes || band;
    });
}

// A card's back: varnish everywhere but the magnetic stripe's band (dots 25 to 196 down)
// and a signature panel, which stay bare.
std::string BackDesignBitmap() {
    return CardBitmap([](int x, int y) {
        const bool stripe = y >= 25 && y <= 196;
        const bool signature = x >= 60 && x < 700 && y >= 300 && y < 400;
        return !stripe && !signature;
    });
}

// An operator's hologram: a seal in the top right corner, away from a photograph on the
// left, and a wave band along the bottom edge.
std::string HologramDesignBitmap() {
    return CardBitmap([](int x, int y) {
        const int dx = x - 850, dy = y - 170;
        const int distance2 = dx * dx + dy * dy;
        const bool ring = distance2 >= 95 * 95 && distance2 <= 125 * 125;
        const bool core = distance2 <= 50 * 50;
        const double wave = 565.0 + 28.0 * std::sin(x / 45.0);
        const bool band = y > wave - 14 && y < wave + 14;
        return ring || core || band;
    });
}

// Removes the rendered pictures the manual's file list does not name: no page shows them.
void RemoveUnlistedPictures(const std::wstring& dir) {
    std::vector<uint8_t> list;
    if (!sim::ReadWholeFile(dir + L"qf862k-manual.lst", &list)) return;
    std::vector<std::string> listed;
    std::string line;
    for (const uint8_t byte : list) {
        if (byte == '\n') {
            listed.push_back(line);
            line.clear();
        } else if (byte != '\r') {
            line += static_cast<char>(byte);
        }
    }
    listed.push_back(line);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + kPicturePrefix + L"*.png").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (std::find(listed.begin(), listed.end(), sim::Utf8(found.cFileName)) == listed.end())
            DeleteFileW((dir + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// Removes the pictures of an earlier run whose names start with `prefix`, so that a picture
// no command renders any more cannot stay behind and look current.
void RemoveOldPictures(const std::wstring& dir, const std::wstring& prefix) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + prefix + L"*.png").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW((dir + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

bool SaveBitmapFilePng(const std::wstring& bmp, const std::wstring& png) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, bmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return false;
    const bool saved = sim::SaveBitmapPng(bitmap, png);
    DeleteObject(bitmap);
    if (saved) std::printf("picture: %s\n", sim::Utf8(png).c_str());
    return saved;
}

// The windows the language page shows in the module's language: Tools and Head Settings,
// whose every text is the module's own.
int LanguagePagePictures() {
    const std::wstring dir = sim::ProgramDirectory();
    const std::wstring prefix = std::wstring(kPicturePrefix) + PictureLanguage() + L"-";
    RemoveOldPictures(dir, prefix);
    SetPictureNames(dir, prefix);
    int status = 0;
    for (const Args& args : {Args{L"tools"}, Args{L"head"}}) {
        std::printf("\n== manual, %s: %s\n", sim::Utf8(PictureLanguage()).c_str(), sim::Utf8(args[0]).c_str());
        status = DialogCommand(args);
        if (status != 0) break;
    }
    if (status == 0) RemoveUnlistedPictures(dir);
    std::fflush(stdout);
    if (status != 0) std::fprintf(stderr, "workbench: the language page's pictures are incomplete\n");
    return status;
}

}  // namespace

int ManualCommand(const Args& args) {
    const bool languagePage = args.size() == 1 && args[0] == L"--languages-page" && !PictureLanguage().empty();
    if (!args.empty() && !languagePage) {
        std::fprintf(stderr, "usage: workbench manual\n       workbench --lang de|fr|es|ja|en manual --languages-page\n");
        return 2;
    }
    // The pictures are always rendered, never left open for someone to work.
    SetEnvironmentVariableW(L"QF_HEADLESS", L"1");
    if (languagePage) return LanguagePagePictures();
    // In a language of --lang the pictures are that language's set, beside the workbench's
    // other pictures of it; the manual's own (English) pictures beside the DLL stay.
    const std::wstring dir = PictureLanguage().empty() ? sim::ProgramDirectory() : OutputDirectory();
    RemoveOldPictures(dir, kPicturePrefix);
    SetPictureNames(dir, kPicturePrefix);

    // The card design lies where an operator would keep one, so that the file fields of the
    // pictures show a path like theirs rather than the build machine's folders.
    CreateDirectoryW(kCardFolder, nullptr);
    const std::wstring cards = std::wstring(kCardFolder) + L"\\";
    const std::wstring design = cards + L"card.bmp";
    const std::wstring back = cards + L"back.bmp";
    const std::wstring hologram = cards + L"hologram.bmp";
    for (const auto& [path, bytes] : {std::pair{design, FrontDesignBitmap()}, std::pair{back, BackDesignBitmap()},
                                      std::pair{hologram, HologramDesignBitmap()}}) {
        if (!sim::WriteWholeFile(path, bytes)) {
            std::fprintf(stderr, "workbench: cannot write %s\n", sim::Utf8(path).c_str());
            return 1;
        }
    }
    struct Step {
        int (*run)(const Args&);
        Args args;
    };
    const Step steps[] = {
        {SheetCommand, {L"document"}},
        {SheetCommand, {L"device"}},
        {DialogCommand, {L"tools"}},
        {DialogCommand, {L"send-file", L"--file", WriteSampleFile(L"send-file", cards)}},
        {DialogCommand, {L"firmware", L"--file", WriteSampleFile(L"firmware", cards)}},
        {DialogCommand, {L"info"}},
        // The hologram before the overlay editors: the back editor commits printing on
        // both sides, which the module keeps for the sheets opened after it.
        {DialogCommand, {L"hologram", L"--file", hologram}},
        // The card side the printer receives with "Rotate 180°": the picture turned.
        {HologramCommand, {hologram, L"--rotate"}},
        {DialogCommand, {L"front-overlay", L"--file", design}},
        {DialogCommand, {L"back-overlay", L"--file", back}},
    };
    int status = 0;
    for (const Step& step : steps) {
        std::printf("\n== manual: %s\n", sim::Utf8(step.args[0]).c_str());
        status = step.run(step.args);
        if (status != 0) break;
    }
    if (status == 0 && !SaveBitmapFilePng(hologram, dir + kPicturePrefix + L"hologram-source.png")) status = 1;
    if (status == 0) RemoveUnlistedPictures(dir);
    for (const std::wstring& path : {design, back, hologram}) DeleteFileW(path.c_str());
    DeleteFileW((cards + L"sample-card.prn").c_str());
    DeleteFileW((cards + L"sample-firmware.bin").c_str());
    RemoveDirectoryW(kCardFolder);
    DeleteFileW((dir + kPicturePrefix + L"sample-card.bmp").c_str());  // the overlay dialogs' sample
    std::fflush(stdout);
    if (status != 0) std::fprintf(stderr, "workbench: the manual's pictures are incomplete\n");
    return status;
}
