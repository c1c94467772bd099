// The workbench: runs the driver UI the way the spooler and applications do, and shows
// what it answers.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "workbench/commands.h"
#include "workbench/sheet_support.h"

namespace {

struct Command {
    const wchar_t* name;
    int (*run)(const Args&);
    const char* help;
};

int DemoCommand(const Args& args);
int StandardUserCommand(const Args& args);

const Command kCommands[] = {
    {L"install", InstallCommand, "install the driver into the Wine prefix as printer \"Varlo Q862k\""},
    {L"caps", CapsCommand, "ask the installed printer every device capability, as an application does"},
    {L"devmode", DevmodeCommand, "the driver default and the document record of a simulated printer, by field"},
    {L"state", StateCommand, "ask the simulated printer for encoder, ribbon and model, as a sheet does"},
    {L"sheet", SheetCommand, "open the document or device sheet of the simulated printer: sheet document|device"},
    {L"dialog", DialogCommand,
     "open a dialog from its sheet: dialog tools|send-file|firmware|info|details|head|color|front-overlay|"
     "back-overlay|hologram (head and color take --set NAME=VALUE)"},
    {L"hologram", HologramCommand,
     "the hologram job of a 1-bit BMP: hologram FILE.bmp|--sample|--top-down [--rotate] [--both-sides] "
     "[--copies N] [--contrast N]"},
    {L"two-printers", TwoPrintersCommand,
     "the device sheets of two printers open at once, each keeping its own encoder settings and document records"},
    {L"threads", ThreadsCommand, "the driver called on eight threads at once for three printers"},
    {L"classify", ClassifyCommand, "classify FILE as firmware, as the firmware download does"},
    {L"decode", DecodeCommand, "decode FILE: a 4068-byte settings record or a 3856-byte defaults block"},
    {L"manual", ManualCommand, "render every picture of the operator's manual beside the DLL, under the pages' names"},
    {L"standard-user", StandardUserCommand,
     "the device sheet, its encoder and single-feed dialogs and Tools for an ordinary user, not an administrator"},
    {L"demo", DemoCommand,
     "install, capabilities, settings records, printer state, both sheets, and the device sheet of an ordinary user"},
};

int DemoCommand(const Args& args) {
    int status = InstallCommand(args);
    if (status == 0) status = CapsCommand(args);
    // The first settings record is printed whole, the later ones as what changed.
    SetRecordChangesOnly(true);
    if (status == 0) status = DevmodeCommand(args);
    if (status == 0) status = StateCommand(args);
    if (status == 0) status = SheetCommand(Args{L"document"});
    if (status == 0) status = SheetCommand(Args{L"device"});
    if (status == 0) status = StandardUserCommand(Args{});
    return status;
}

// The windows an operator without administrator rights opens: the device sheet shown
// read-only with its settings dialogs, and Tools. Pictures go to the standard-user folder.
int StandardUserCommand(const Args& args) {
    std::printf("\nAs an ordinary user (the right to print, not to administer the printer):\n");
    Args sheet{L"device", L"--standard-user"};
    sheet.insert(sheet.end(), args.begin(), args.end());
    int status = SheetCommand(sheet);
    Args tools{L"tools", L"--standard-user"};
    tools.insert(tools.end(), args.begin(), args.end());
    if (status == 0) status = DialogCommand(tools);
    return status;
}

// The languages of the module, with the locale that makes each the user's language.
struct Language {
    const wchar_t* code;
    WORD primary;
    const char* locale;
};
const Language kLanguages[] = {
    {L"en", LANG_ENGLISH, "en_US.UTF-8"}, {L"de", LANG_GERMAN, "de_DE.UTF-8"}, {L"fr", LANG_FRENCH, "fr_FR.UTF-8"},
    {L"es", LANG_SPANISH, "es_ES.UTF-8"}, {L"ja", LANG_JAPANESE, "ja_JP.UTF-8"},
};

// --lang CODE: the module shows the language the user's locale chooses, as on Windows, so
// the workbench only checks that it runs in that language and keeps its pictures apart.
int ChooseLanguage(const wchar_t* code) {
    for (const Language& language : kLanguages) {
        if (std::wcscmp(code, language.code) != 0) continue;
        if (PRIMARYLANGID(GetUserDefaultUILanguage()) != language.primary) {
            std::fprintf(stderr,
                         "workbench: --lang %ls needs the user's language to be that one: run it with "
                         "LC_ALL=%s (./build.sh workbench --lang %ls sets it)\n",
                         code, language.locale, code);
            return 2;
        }
        SetPictureLanguage(code);
        return 0;
    }
    std::fprintf(stderr, "workbench: unknown language %ls (en, de, fr, es, ja)\n", code);
    return 2;
}

void Usage() {
    std::printf("usage: workbench [--lang en|de|fr|es|ja] COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& command : kCommands) std::printf("  %-10ls %s\n", command.name, command.help);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wcscmp(argv[1], L"--lang") == 0) {
        if (const int status = ChooseLanguage(argv[2])) return status;
        argv += 2;
        argc -= 2;
    }
    if (argc < 2) {
        Usage();
        return 2;
    }
    const Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands)
        if (std::wcscmp(argv[1], command.name) == 0) {
            const int status = command.run(args);
            std::fflush(stdout);
            return status;
        }
    std::fprintf(stderr, "workbench: unknown command %ls\n", argv[1]);
    Usage();
    return 2;
}
