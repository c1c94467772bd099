// The module in the user's language. ctest runs this group once per language, each in the
// locale of that language (wine.language_de, ...), and once in a language the module does not
// carry: the loader takes the module's block for the user's UI language, English otherwise,
// and nothing the spooler, an application or the printer reads changes with it.
#include "tests/wine/sheet_dialogs.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/ui/dialog_conventions.h"
#include "sim/files.h"

namespace {

struct LanguageTexts {
    const char* code;  // as QF_EXPECTED_LANGUAGE names it
    WORD primary;      // the primary language of the user's UI language
    const wchar_t* deviceInformation;  // the Device Information dialog's title
    const wchar_t* close;              // its Close button
    const wchar_t* vendorLabel;        // its first label
    const wchar_t* systemError;        // a message box's text
    const wchar_t* ribbonChanged;      // the message naming a new hologram ribbon
    const wchar_t* binName;            // the bin's name in the capability answer
    const wchar_t* orientation;        // a sheet item's name
};

const LanguageTexts kTexts[] = {
    {"en", LANG_ENGLISH, L"Device Information", L"Close", L"Vendor Name:", L"System Error",
     L"Ribbon changed to Hologram.", L"Card Feeder", L"Orientation"},
    {"de", LANG_GERMAN, L"Geräteinformationen", L"Schließen", L"Hersteller:", L"Systemfehler",
     L"Farbband gewechselt: Hologram.", L"Kartenzufuhr", L"Ausrichtung"},
    {"fr", LANG_FRENCH, L"Informations sur le périphérique", L"Fermer", L"Fabricant :", L"Erreur système",
     L"Ruban changé : Hologram.", L"Chargeur de cartes", L"Orientation"},
    {"es", LANG_SPANISH, L"Información del dispositivo", L"Cerrar", L"Fabricante:", L"Error del sistema",
     L"Cinta cambiada a Hologram.", L"Alimentador de tarjetas", L"Orientación"},
    {"ja", LANG_JAPANESE, L"デバイス情報", L"閉じる", L"製造元:", L"システム エラー",
     L"リボンが Hologram に変わりました。", L"カードフィーダー", L"印刷の向き"},
};

// The texts of the language this run expects (English when none is named).
const LanguageTexts& Expected() {
    const char* code = std::getenv("QF_EXPECTED_LANGUAGE");
    for (const LanguageTexts& texts : kTexts)
        if (code && std::strcmp(code, texts.code) == 0) return texts;
    return kTexts[0];
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class Languages : public DeviceSheetDialogs {
protected:
    void TearDown() override {
        g_hInstance = Driver();
        DeviceSheetDialogs::TearDown();
    }
};

// The locale of the run reached Wine: without this, every language's run would quietly
// test the English block.
TEST_F(Languages, TheRunHasTheExpectedUserLanguage) {
    // The run on a Western system (QF_EXPECTED_ANSI_CODE_PAGE) has that ANSI code page.
    if (const char* codePage = std::getenv("QF_EXPECTED_ANSI_CODE_PAGE")) {
        EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage)));
    }
    const WORD primary = PRIMARYLANGID(GetUserDefaultUILanguage());
    if (Expected().primary == LANG_ENGLISH) {
        for (const LanguageTexts& texts : kTexts) {
            if (texts.primary != LANG_ENGLISH) {
                EXPECT_NE(primary, texts.primary) << texts.code;
            }
        }
    } else {
        EXPECT_EQ(primary, Expected().primary) << "user UI language 0x" << std::hex << GetUserDefaultUILanguage();
    }
}

TEST_F(Languages, ADialogAndItsMessagesSpeakTheUserLanguage) {
    OpenSheet();
    std::wstring title, close, label;
    sim::DialogScript driver([&](HWND dialog) {
        title = WindowText(dialog);
        close = WindowText(GetDlgItem(dialog, IDC_CLOSE_BUTTON));
        label = WindowText(FindWindowExW(dialog, nullptr, L"Static", nullptr));
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(service.PushButton(qf::kDeviceItemDeviceInfo), IDC_CLOSE_BUTTON);
    EXPECT_EQ(driver.Ran(), 1);
    EXPECT_EQ(title, Expected().deviceInformation);
    EXPECT_EQ(close, Expected().close);
    EXPECT_EQ(label, Expected().vendorLabel);

    g_hInstance = Driver();
    sim::Ui().messageBoxes.clear();
    ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].caption, L"Varlo Halvard Line Printer") << "the product's name stays";
    EXPECT_EQ(sim::Ui().messageBoxes[0].text, Expected().systemError);
}

// A ribbon is a product with one name in every language, the ribbon list's: the message
// that announces it, the ribbon item and every print mode name it alike.
TEST_F(Languages, ARibbonHasTheRibbonListsNameInEveryLanguage) {
    card().ribbonNumber = 19;  // a hologram ribbon; the stored record holds YMCKO
    sim::Ui().messageBoxes.clear();
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, out);
    sim::PropertySheetService sheet;
    ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&document)),
              1);
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text, Expected().ribbonChanged);
    EXPECT_EQ(sheet.CurrentChoice(qf::kItemRibbon), L"Hologram");
    const OPTTYPE* modes = sheet.Item(qf::kItemPrintMode)->pOptType;
    ASSERT_GT(modes->Count, 0);
    for (int c = 0; c < modes->Count; ++c) {
        const std::wstring mode = sheet.ChoiceText(qf::kItemPrintMode, c);
        const std::wstring name = L" Hologram";
        EXPECT_TRUE(mode.size() > name.size() && mode.compare(mode.size() - name.size(), name.size(), name) == 0)
            << sim::Utf8(mode);
    }
    sheet.Cancel();
}

// The module's text `id` as its string table holds it in the user's language.
std::wstring ModuleText(UINT id) {
    wchar_t text[256] = {};
    LoadStringW(Driver(), id, text, 256);
    return text;
}

// The texts the driver shows beside the printer's answers ("Unknown", "Yes", a smart-card
// option, "Printer has no response", the ACK mark) reach the window as the string table
// holds them, whatever the system's ANSI code page: a Japanese user on a Western system
// reads Japanese, not question marks. The printer's own bytes stay as they came.
TEST_F(Languages, TextsBesideThePrintersAnswersStayInTheUserScript) {
    card().ribbonNumber = 99;  // a ribbon the catalogue does not name
    card().model = "Vestria Q862kB 1.07";
    OpenSheet();
    std::wstring ribbon, encoder, smartCard, model;
    sim::DialogScript information([&](HWND dialog) {
        ribbon = sim::ControlText(dialog, IDC_INFO_RIBBON);
        encoder = sim::ControlText(dialog, IDC_INFO_ENCODER);
        smartCard = sim::ControlText(dialog, IDC_INFO_SMART_CARD);
        model = sim::ControlText(dialog, IDC_INFO_MODEL);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemDeviceInfo);
    EXPECT_EQ(information.Ran(), 1);
    EXPECT_EQ(ribbon, ModuleText(IDS_UNKNOWN));
    EXPECT_EQ(encoder, ModuleText(IDS_YES));
    EXPECT_EQ(smartCard, ModuleText(IDS_SMART_CARD_FIRST));
    EXPECT_EQ(model, L"Vestria Q862kB 1.07");

    std::wstring answered, silent;
    sim::DialogScript tools([&](HWND dialog) {
        card().commandReply = "READY";
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"X");
        sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
        answered = sim::ControlText(dialog, IDC_TOOLS_STATUS);
        card().fault = sim::PortFault::kNoAnswer;
        sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
        silent = sim::ControlText(dialog, IDC_TOOLS_STATUS);
        card().fault = sim::PortFault::kNone;
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemTools);
    EXPECT_EQ(tools.Ran(), 1);
    EXPECT_EQ(answered, L"READY" + ModuleText(IDS_ACK_MARK));
    EXPECT_EQ(silent, ModuleText(IDS_NO_RESPONSE));
}

// Paper names are the form name an application hands back in a record, which the spooler
// matches against its forms: the same in every language. Bin names are only shown, and
// follow the user's language.
TEST_F(Languages, PaperNamesStayAndBinNamesFollowTheLanguage) {
    using CapabilitiesFn = DWORD(WINAPI*)(HANDLE, PWSTR, DWORD, PVOID, PDEVMODEW);
    const auto capabilities = Export<CapabilitiesFn>("DrvDeviceCapabilities");
    wchar_t papers[64] = {}, bins[24] = {};
    EXPECT_EQ(capabilities(nullptr, const_cast<PWSTR>(kTestPrinter), DC_PAPERNAMES, papers, nullptr), 1u);
    EXPECT_STREQ(papers, L"86mmx54mm Card");
    EXPECT_EQ(capabilities(nullptr, const_cast<PWSTR>(kTestPrinter), DC_BINNAMES, bins, nullptr), 1u);
    EXPECT_STREQ(bins, Expected().binName);
}

// The records the driver hands out: the driver default converted, the record an application
// gets without a sheet, and a document sheet's commit after the orientation was changed.
std::vector<std::pair<std::string, Record>> RecordsOf(HANDLE handle, Record& stored) {
    std::vector<std::pair<std::string, Record>> records;
    using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    Record converted(qf::kRecordSize, 0xCD);
    LONG size = qf::kRecordSize;
    EXPECT_TRUE(Export<ConvertFn>("DrvConvertDevMode")(const_cast<LPWSTR>(kTestPrinter), nullptr,
                                                       Devmode(converted), &size, CDM_DRIVER_DEFAULT));
    records.emplace_back("converted", converted);

    using DocumentPropertiesFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
    Record handedOut(qf::kRecordSize, 0xCD);
    EXPECT_EQ(Export<DocumentPropertiesFn>("DrvDocumentProperties")(nullptr, handle, const_cast<PWSTR>(kTestPrinter),
                                                                     Devmode(handedOut), nullptr, DM_OUT_BUFFER),
              IDOK);
    records.emplace_back("handed-out", handedOut);

    Record committed(qf::kRecordSize, 0xCD);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, committed, &stored);
    sim::PropertySheetService sheet;
    EXPECT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&document)),
              1);
    if (sheet.IsOpen()) {
        EXPECT_EQ(std::wstring(sheet.Item(qf::kItemOrientation)->pName), Expected().orientation);
        sheet.Select(qf::kItemOrientation, 0);
        sheet.Apply();
        EXPECT_EQ(sheet.Commit(), 1);
    }
    records.emplace_back("committed", committed);
    return records;
}

// The records are the same bytes in every language: the English run (wine.language_en, which
// ctest runs first) keeps its records in QF_LANGUAGE_RECORDS, and every other run compares
// its own with them byte for byte.
TEST_F(Languages, TheRecordsAreTheSameBytesInEveryLanguage) {
    const Record driverDefault = DriverDefaultRecord();
    stored = driverDefault;
    Private(stored).ribbonType = 0;  // YMCKO, what the simulated printer reports
    Private(stored).encoderSettings.encoderPresent = 1;
    printer().devmode = stored;
    const auto records = RecordsOf(handle, stored);
    EXPECT_TRUE(records[0].second == driverDefault) << "the converted driver default is not the driver's own";
    EXPECT_STREQ(Devmode(const_cast<Record&>(records[2].second))->dmFormName, L"86mmx54mm Card");

    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"QF_LANGUAGE_RECORDS", folder, MAX_PATH), 0u)
        << "QF_LANGUAGE_RECORDS names the folder of the English run's records";
    CreateDirectoryW(folder, nullptr);
    for (const auto& [name, record] : records) {
        const std::wstring path = std::wstring(folder) + L"\\" + std::wstring(name.begin(), name.end()) + L".bin";
        if (std::strcmp(Expected().code, "en") == 0 && Expected().primary == PRIMARYLANGID(GetUserDefaultUILanguage())) {
            ASSERT_TRUE(sim::WriteWholeFile(path, std::string(record.begin(), record.end()))) << name;
            continue;
        }
        std::vector<uint8_t> english;
        ASSERT_TRUE(sim::ReadWholeFile(path, &english)) << name << ": no record of the English run (wine.language_en)";
        ASSERT_EQ(english.size(), record.size()) << name;
        for (size_t i = 0; i < record.size(); ++i) {
            if (record[i] != english[i]) {
                ADD_FAILURE() << name << " differs from the English run's at byte " << i << ": "
                              << int(record[i]) << " against " << int(english[i]);
                break;
            }
        }
    }
}

// The longest line a sheet item shows in the sheet's tree, "name: choice" for each choice
// the user can pick (the name alone for a button), and the room the tree gives it.
struct ItemLine {
    std::wstring text;
    int level;
};
std::vector<ItemLine> ItemLines(const sim::PropertySheetService& sheet) {
    std::vector<ItemLine> lines;
    for (int i = 0; i < sheet.ItemCount(); ++i) {
        const OPTITEM& item = *sheet.Item(i);
        const std::wstring title = sheet.ItemTitle(i);
        const OPTTYPE* type = item.pOptType;
        if (!type || type->Type == TVOT_PUSHBUTTON) {
            lines.push_back({title, item.Level});
            continue;
        }
        if (type->Type == TVOT_UDARROW || type->Type == TVOT_TRACKBAR || type->Type == TVOT_SCROLLBAR) {
            lines.push_back({title + L": " + sheet.CurrentChoice(i), item.Level});
            continue;
        }
        for (int c = 0; c < type->Count; ++c)
            if (!(type->pOptParam[c].Flags & OPTPF_HIDE)) lines.push_back({title + L": " + sheet.ChoiceText(i, c), item.Level});
    }
    return lines;
}

// Every line of both sheets fits the tree of a property page at 96 and 144 DPI with a tenth
// of the tree's width to spare: the page is 252 dialog units wide in its 8-point font, the
// tree keeps 7 units at each side, and a line starts after its level's indent (19 pixels at
// 96 DPI each), the item's icon and the gap after it.
TEST_F(Languages, SheetItemsFitTheSheetsTree) {
    std::vector<std::pair<const char*, std::vector<ItemLine>>> sheets;
    OpenSheet();
    sheets.push_back({"device sheet", ItemLines(service)});
    service.Cancel();
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, out);
    sim::PropertySheetService documentSheet;
    ASSERT_EQ(documentSheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                                 reinterpret_cast<LPARAM>(&document)),
              1);
    sheets.push_back({"document sheet", ItemLines(documentSheet)});
    documentSheet.Cancel();

    for (const int dpi : {96, 144}) {
        LOGFONTW face = {};
        face.lfHeight = -MulDiv(8, dpi, 72);
        face.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(face.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectW(&face);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE alphabet = {};
        GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
        const int baseX = (alphabet.cx / 26 + 1) / 2;
        // The tree's width, of which a tenth stays free, as in every dialog's control.
        const int width = MulDiv(252 - 2 * 7, baseX, 4);
        const int room = width - (width + 9) / 10;
        for (const auto& [sheetName, lines] : sheets) {
            for (const ItemLine& line : lines) {
                SIZE size = {};
                GetTextExtentPoint32W(dc, line.text.c_str(), static_cast<int>(line.text.size()), &size);
                const int start = MulDiv((line.level + 1) * 19 + 16 + 3, dpi, 96);
                EXPECT_LE(start + size.cx, room) << Expected().code << " " << sheetName << " \""
                                                 << sim::Utf8(line.text) << "\" at " << dpi << " DPI: "
                                                 << start + size.cx - room << " px too wide";
            }
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(font);
    }
}

}  // namespace
