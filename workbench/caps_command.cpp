// `workbench install` and `workbench caps`: the driver installed into Wine's spooler
// and asked for its device capabilities, as an application asks.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/settings/capabilities.h"
#include "sim/driver_install.h"
#include "sim/driver_loader.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"

namespace {

const char* const kCapabilityNames[] = {
    "", "DC_FIELDS", "DC_PAPERS", "DC_PAPERSIZE", "DC_MINEXTENT", "DC_MAXEXTENT", "DC_BINS",
    "DC_DUPLEX", "DC_SIZE", "DC_EXTRA", "DC_VERSION", "DC_DRIVER", "DC_BINNAMES",
    "DC_ENUMRESOLUTIONS", "DC_FILEDEPENDENCIES", "DC_TRUETYPE", "DC_PAPERNAMES",
    "DC_ORIENTATION", "DC_COPIES", "DC_BINADJUST", "DC_EMF_COMPLIANT", "DC_DATATYPE_PRODUCED",
    "DC_COLLATE", "DC_MANUFACTURER", "DC_MODEL", "DC_PERSONALITY", "DC_PRINTRATE",
    "DC_PRINTRATEUNIT", "DC_PRINTERMEM", "DC_MEDIAREADY", "DC_STAPLE", "DC_PRINTRATEPPM",
    "DC_COLORDEVICE",
};
constexpr int kLastCapability = 32;

// What the driver wrote, decoded by the kind of answer the capability carries.
std::string Written(int capability, const DEVMODEW* devmode, const BYTE* buffer, bool touched) {
    if (!touched) return "(nothing)";
    char text[160] = {};
    switch (qf::AnswerCapability(capability, devmode != nullptr, devmode ? devmode->dmOrientation : 0).output) {
    case qf::CapabilityOutput::kWord: {
        WORD value;
        std::memcpy(&value, buffer, sizeof value);
        std::snprintf(text, sizeof text, "%u", value);
        break;
    }
    case qf::CapabilityOutput::kPoint: {
        LONG pt[2];
        std::memcpy(pt, buffer, sizeof pt);
        std::snprintf(text, sizeof text, "(%ld, %ld)", static_cast<long>(pt[0]), static_cast<long>(pt[1]));
        break;
    }
    case qf::CapabilityOutput::kString:
    case qf::CapabilityOutput::kFormName:
        std::snprintf(text, sizeof text, "\"%s\"", sim::Utf8(reinterpret_cast<const wchar_t*>(buffer)).c_str());
        break;
    case qf::CapabilityOutput::kNone:
        std::snprintf(text, sizeof text, "(unexpected bytes)");
        break;
    }
    return text;
}

void AskOne(const wchar_t* printer, int capability, const DEVMODEW* devmode, const char* note) {
    BYTE buffer[512];
    std::memset(buffer, 0xCC, sizeof buffer);
    const int result = DeviceCapabilitiesW(printer, L"FILE:", static_cast<WORD>(capability),
                                           reinterpret_cast<LPWSTR>(buffer), devmode);
    bool touched = false;
    for (BYTE b : buffer) touched |= (b != 0xCC);
    char name[48];
    std::snprintf(name, sizeof name, "%s%s", kCapabilityNames[capability], note);
    char shown[16];
    if (capability == qf::kDcFields || capability == qf::kDcVersion)
        std::snprintf(shown, sizeof shown, "0x%08X", static_cast<unsigned>(result));
    else
        std::snprintf(shown, sizeof shown, "%d", result);
    std::printf("%5d  %-34s %11s  %s\n", capability, name, shown,
                Written(capability, devmode, buffer, touched).c_str());
}

}  // namespace

int InstallCommand(const Args&) {
    std::wstring dll;
    std::string error;
    if (!sim::InstallDriverPackage(sim::ProgramDirectory(), &dll, &error)) {
        std::fprintf(stderr, "workbench: install failed: %s\n", error.c_str());
        return 1;
    }
    std::printf("installed printer \"%s\" with driver %s\n", sim::Utf8(sim::kInstalledPrinter).c_str(),
                sim::Utf8(dll).c_str());
    const std::vector<std::wstring> manual = sim::ManualFiles(sim::ProgramDirectory());
    const std::wstring dir = dll.substr(0, dll.find_last_of(L'\\') + 1);
    if (manual.empty()) {
        std::printf("no operator's manual in the package\n");
        return 0;
    }
    // Only the files that are there were installed: a picture the workbench has not yet
    // rendered is named, with the command that renders it.
    std::vector<std::wstring> missing;
    for (const std::wstring& file : manual)
        if (GetFileAttributesW((dir + file).c_str()) == INVALID_FILE_ATTRIBUTES) missing.push_back(file);
    std::printf("operator's manual: %zu of %zu files beside the driver, contents page %sqf862k-index.html\n",
                manual.size() - missing.size(), manual.size(), sim::Utf8(dir).c_str());
    const std::wstring index = dir + L"qf862k-index.html";
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (char* path = unixName ? unixName(index.c_str()) : nullptr) {
        std::printf("  on this machine: %s\n", path);
        HeapFree(GetProcessHeap(), 0, path);
    }
    if (!missing.empty()) {
        std::printf("  missing (not yet rendered; ./build.sh manual renders them):");
        for (const std::wstring& file : missing) std::printf(" %s", sim::Utf8(file).c_str());
        std::printf("\n");
    }
    return 0;
}

int CapsCommand(const Args& args) {
    std::wstring printer = sim::kInstalledPrinter;
    for (const std::wstring& arg : args)
        if (arg.compare(0, 2, L"--") != 0) printer = arg;
    std::printf("\nDevice capabilities of \"%s\" (DeviceCapabilitiesW, as an application asks):\n\n",
                sim::Utf8(printer).c_str());
    std::printf("%5s  %-34s %11s  %s\n", "index", "capability", "result", "written to the output buffer");
    std::printf("%5s  %-34s %11s  %s\n", "-----", "----------", "------", "----------------------------");
    DEVMODEW portrait = {};
    portrait.dmSize = sizeof portrait;
    portrait.dmOrientation = DMORIENT_PORTRAIT;
    DEVMODEW landscape = portrait;
    landscape.dmOrientation = DMORIENT_LANDSCAPE;
    for (int capability = 1; capability <= kLastCapability; ++capability) {
        AskOne(printer.c_str(), capability, nullptr, "");
        if (capability == qf::kDcPaperSize || capability == qf::kDcMaxExtent) {
            AskOne(printer.c_str(), capability, &portrait, " (portrait DEVMODE)");
            AskOne(printer.c_str(), capability, &landscape, " (landscape DEVMODE)");
        }
    }
    return 0;
}
