// Shared helpers of the sheet and dialog commands.
#include "workbench/sheet_support.h"

#include <cstdio>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/resources/resource.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbons.h"
#include "sim/driver_loader.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/simulated_printer.h"

namespace {

std::string DriverText(UINT id) {
    wchar_t text[128] = {};
    LoadStringW(GetModuleHandleW(L"qf862kui.dll"), id, text, 128);
    return sim::Utf8(text);
}

}  // namespace

std::string DriverRibbonName(uint32_t code) { return DriverText(IDS_RIBBON_NAME_FIRST + qf::RibbonNameIndex(code)); }

std::string DriverPrintModeText(uint8_t mode) { return DriverText(IDS_PRINT_MODE_FIRST + mode); }

bool Headless() { return GetEnvironmentVariableW(L"QF_HEADLESS", nullptr, 0) > 0; }

namespace {
std::wstring g_pictureDirectory;
std::wstring g_picturePrefix;
std::wstring g_pictureLanguage;
}  // namespace

void SetPictureLanguage(const std::wstring& language) { g_pictureLanguage = language; }
const std::wstring& PictureLanguage() { return g_pictureLanguage; }

namespace {
bool g_standardUser = false;
}  // namespace

void SetStandardUser(bool on) { g_standardUser = on; }
WORD DeviceSheetFlags() { return g_standardUser ? WORD(DPS_NOPERMISSION) : WORD(0); }

namespace {
bool g_recordChangesOnly = false;
std::vector<std::string> g_lastRecordLines;
}  // namespace

void SetRecordChangesOnly(bool on) { g_recordChangesOnly = on; }

void PrintRecordLines(const std::vector<std::string>& lines) {
    const bool changesOnly = g_recordChangesOnly && g_lastRecordLines.size() == lines.size();
    if (!changesOnly) {
        for (const std::string& line : lines) std::printf("    %s\n", line.c_str());
    } else {
        size_t changed = 0;
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] != g_lastRecordLines[i]) {
                std::printf("    was %s\n    now %s\n", g_lastRecordLines[i].c_str(), lines[i].c_str());
                ++changed;
            }
        std::printf("    (%zu of %zu fields changed since the record printed above; the others as there)\n",
                    changed, lines.size());
    }
    g_lastRecordLines = lines;
}

void SetPictureNames(const std::wstring& directory, const std::wstring& prefix) {
    g_pictureDirectory = directory;
    g_picturePrefix = prefix;
}

std::wstring OutputDirectory() {
    std::wstring dir = g_pictureDirectory;
    if (dir.empty()) {
        dir = sim::ProgramDirectory() + L"..\\workbench-output\\";
        if (!g_pictureLanguage.empty()) {
            CreateDirectoryW(dir.c_str(), nullptr);
            dir += g_pictureLanguage + L"\\";
        }
        if (g_standardUser) {
            CreateDirectoryW(dir.c_str(), nullptr);
            dir += L"standard-user\\";
        }
    }
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + g_picturePrefix;
}

bool StoreDriverDefault(HMODULE driver, const std::wstring& name) {
    auto convert = reinterpret_cast<BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DrvConvertDevMode")));
    std::vector<uint8_t> defaults(qf::kRecordSize, 0);
    LONG needed = qf::kRecordSize;
    std::wstring printer = name;
    if (!convert(&printer[0], nullptr, reinterpret_cast<DEVMODEW*>(defaults.data()), &needed, CDM_DRIVER_DEFAULT))
        return false;
    sim::Spooler::Get().Find(name)->devmode = defaults;
    return true;
}

HMODULE StartPrinterWithDriverDefault(const std::vector<std::wstring>& args) {
    std::string error;
    HMODULE driver = StartSimulatedPrinter(args, &error);
    if (!driver) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return nullptr;
    }
    if (!StoreDriverDefault(driver, SimulatedPrinterName())) {
        std::fprintf(stderr, "workbench: the driver gave no default record\n");
        return nullptr;
    }
    return driver;
}

namespace {

std::string AttributeNames(DWORD attributes) {
    static const struct {
        DWORD bit;
        const char* name;
    } kBits[] = {{PRINTER_ATTRIBUTE_QUEUED, "queued"},           {PRINTER_ATTRIBUTE_DIRECT, "direct"},
                 {PRINTER_ATTRIBUTE_DEFAULT, "default"},         {PRINTER_ATTRIBUTE_SHARED, "shared"},
                 {PRINTER_ATTRIBUTE_NETWORK, "network"},         {PRINTER_ATTRIBUTE_HIDDEN, "hidden"},
                 {PRINTER_ATTRIBUTE_LOCAL, "local"},             {PRINTER_ATTRIBUTE_ENABLE_DEVQ, "hold mismatched"},
                 {PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS, "keep printed documents"},
                 {PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST, "complete first"},
                 {PRINTER_ATTRIBUTE_WORK_OFFLINE, "offline"},    {PRINTER_ATTRIBUTE_ENABLE_BIDI, "bidirectional"},
                 {PRINTER_ATTRIBUTE_RAW_ONLY, "raw only"},       {PRINTER_ATTRIBUTE_PUBLISHED, "published"}};
    std::string names;
    for (const auto& b : kBits)
        if (attributes & b.bit) names += (names.empty() ? "" : ", ") + std::string(b.name);
    return names;
}

}  // namespace

void PrintPrinterRecord(const char* title, const std::wstring& printerName) {
    sim::Printer* printer = sim::Spooler::Get().Find(printerName);
    if (!printer) {
        std::printf("\n%s\n  (no printer \"%s\")\n", title, sim::Utf8(printerName).c_str());
        return;
    }
    const sim::PrinterFields& f = printer->fields;
    std::printf("\n%s\n", title);
    std::printf("  name              \"%s\"\n", sim::Utf8(printer->name).c_str());
    std::printf("  share name        \"%s\"\n", sim::Utf8(f.shareName).c_str());
    std::printf("  port              \"%s\"\n", sim::Utf8(f.portName).c_str());
    std::printf("  comment           \"%s\"\n", sim::Utf8(f.comment).c_str());
    std::printf("  location          \"%s\"\n", sim::Utf8(f.location).c_str());
    std::printf("  separator page    \"%s\"\n", sim::Utf8(f.sepFile).c_str());
    std::printf("  print processor   \"%s\"\n", sim::Utf8(f.printProcessor).c_str());
    std::printf("  datatype          \"%s\"\n", sim::Utf8(f.datatype).c_str());
    std::printf("  parameters        \"%s\"\n", sim::Utf8(f.parameters).c_str());
    std::printf("  attributes        0x%04X (%s)\n", static_cast<unsigned>(printer->attributes),
                AttributeNames(printer->attributes).c_str());
    std::printf("  priority          %u (default %u)\n", static_cast<unsigned>(f.priority),
                static_cast<unsigned>(f.defaultPriority));
    std::printf("  available         %u to %u (minutes after midnight)\n", static_cast<unsigned>(f.startTime),
                static_cast<unsigned>(f.untilTime));
    std::printf("  security          %zu bytes\n", printer->security.size());
    std::printf("  stored settings   %s\n", printer->devmode.empty() ? "none" : "this driver's record");
}
