// The languages of the module's resources, read from the resource scripts: every language
// holds every string and every dialog with the same controls as the English one, keeps the
// placeholders and file patterns, gives each dialog's access keys once, and leaves no English
// text behind other than the names and codes that no language translates.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"

namespace {

const char* const kLanguages[] = {"de", "fr", "es", "ja"};

// Texts that are the same in every language: names of the products and the maker, ribbon
// panel codes, track formats, the reply marker, encoder standards, units and the macro sample.
const std::set<std::string> kNeverTranslated = {
    "Varlo Halvard Line Printer", "Varlo Vestria Card Printer", "Varlo Halvard Line Card Printer", "Varlo",
    "YMCKOK", "YMCKK", "YMCKO", "YMCUvK", "YMCKUv", "YMCK", "YMC", "KdO", "KrO", "Kd",
    "ISO1", "ISO2", "ISO3", "3 bit", "4 bit", "5 bit", "6 bit", "7 bit", "75 bpi", "210 bpi",
    "<ACK>", "HID iCLASS", "ISO/JIS", "JIS2", "AAMVA", "OK", "mm", "2019-2026",
    R"(~C0&&B 1 2222\n~12222\n<start_of_data>12222<end_of_data>)",
};

// Words a language writes as English does.
const std::map<std::string, std::set<std::string>> kSameInLanguage = {
    {"de", {"Status: ", "Version ", "Magenta (M)", "Cyan (C)", "Normal"}},
    {"fr", {"Orientation", "&Portrait", "Copies", "Version ", "Magenta (M)", "Cyan (C)", "Mode"}},
    {"es", {"No", "Magenta (M)", "Normal"}},
    {"ja", {}},
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ScriptPath(const std::string& language) {
    return std::string(QF_RESOURCE_DIR) + (language.empty() ? "/qf862kui.rc" : "/qf862kui_" + language + ".rc");
}

// A quoted resource text at `at` ("" stands for one quote); `at` moves past it.
std::string QuotedText(const std::string& line, size_t& at) {
    std::string text;
    for (++at; at < line.size(); ++at) {
        if (line[at] != '"') {
            text += line[at];
        } else if (at + 1 < line.size() && line[at + 1] == '"') {
            text += '"';
            ++at;
        } else {
            ++at;
            break;
        }
    }
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

struct Control {
    std::string kind;  // LTEXT, PUSHBUTTON, CONTROL, ...
    std::string id;    // as the script writes it
    std::string text;
    bool hasText = false;
    std::string styles;  // the line without its text and numbers: kind, id, class and style flags
};

struct Dialog {
    std::string caption;
    std::string style;  // the STYLE line's flags, as written
    std::string font;   // the FONT line's size and face, as written
    std::vector<Control> controls;
};

struct Script {
    std::map<std::string, std::string> strings;  // id as written -> text
    std::map<std::string, Dialog> dialogs;
    std::vector<std::string> dialogOrder;
};

// The script's first string table and every dialog (for the English script, the ones before
// the other languages' files are included).
Script ReadScript(const std::string& path) {
    Script script;
    std::istringstream lines(ReadFile(path));
    std::string line, dialog;
    enum { kOutside, kStrings, kDialogHead, kDialogBody } state = kOutside;
    bool stringsRead = false;
    while (std::getline(lines, line)) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.rfind("//", 0) == 0) continue;
        if (state == kOutside) {
            if (trimmed == "STRINGTABLE" && !stringsRead) {
                state = kStrings;
            } else {
                static const std::regex head(R"((IDD_\w+)\s+DIALOGEX\b.*)");
                std::smatch match;
                if (std::regex_match(trimmed, match, head)) {
                    dialog = match[1];
                    script.dialogOrder.push_back(dialog);
                    script.dialogs[dialog];
                    state = kDialogHead;
                }
            }
            continue;
        }
        if (trimmed == "BEGIN") {
            if (state == kDialogHead) state = kDialogBody;
            continue;
        }
        if (trimmed == "END") {
            if (state == kStrings) stringsRead = true;
            state = kOutside;
            continue;
        }
        if (state == kStrings) {
            const size_t quote = trimmed.find('"');
            if (quote == std::string::npos) continue;
            size_t at = quote;
            script.strings[Trimmed(trimmed.substr(0, quote))] = QuotedText(trimmed, at);
        } else if (state == kDialogHead) {
            if (trimmed.rfind("CAPTION", 0) == 0) {
                size_t at = trimmed.find('"');
                script.dialogs[dialog].caption = QuotedText(trimmed, at);
            } else if (trimmed.rfind("STYLE ", 0) == 0) {
                script.dialogs[dialog].style = Trimmed(trimmed.substr(6));
            } else if (trimmed.rfind("FONT ", 0) == 0) {
                script.dialogs[dialog].font = Trimmed(trimmed.substr(5));
            }
        } else if (state == kDialogBody) {
            Control control;
            const size_t space = trimmed.find_first_of(" \t");
            control.kind = trimmed.substr(0, space);
            size_t at = trimmed.find_first_not_of(" \t", space);
            if (at != std::string::npos && trimmed[at] == '"') {
                control.text = QuotedText(trimmed, at);
                control.hasText = true;
                at = trimmed.find(',', at);
                at = at == std::string::npos ? trimmed.size() : at + 1;
            }
            const size_t comma = trimmed.find(',', at);
            control.id = Trimmed(trimmed.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
            static const std::regex number(R"((^|[^\w])\d+(?=$|[^\w]))"), separators(R"([\s,]+)");
            control.styles = std::regex_replace(std::regex_replace(trimmed.substr(at), number, "$1"), separators, " ");
            script.dialogs[dialog].controls.push_back(control);
        }
    }
    return script;
}

const Script& English() {
    static const Script script = ReadScript(ScriptPath(""));
    return script;
}

// The printf placeholders of a text, in order.
std::vector<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder(R"(%%|%[-+ #0]*\d*(?:\.\d+)?(?:l|ll|h|I64)?[a-zA-Z])");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it) found.push_back(it->str());
    return found;
}

// The access keys of a text: the characters after single ampersands, lower-cased.
std::vector<char> AccessKeys(const std::string& text) {
    std::vector<char> keys;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        keys.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1]))));
    }
    return keys;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : " ") + part;
    return text;
}

// A translated text that reads the same as the English one must be a name, a code, or a
// word the language shares with English.
void ExpectTranslated(const std::string& language, const std::string& where, const std::string& english,
                      const std::string& translated) {
    if (english != translated || kNeverTranslated.count(english)) return;
    if (english.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos) return;
    EXPECT_TRUE(kSameInLanguage.at(language).count(english))
        << language << " " << where << ": \"" << english << "\" is left in English";
}

// Texts both sides must agree on: the placeholders in their order and the file patterns
// after a filter's first '|', which the open-file dialog reads.
void ExpectSameShape(const std::string& language, const std::string& where, const std::string& english,
                     const std::string& translated) {
    EXPECT_EQ(Joined(Placeholders(translated)), Joined(Placeholders(english)))
        << language << " " << where << ": \"" << translated << "\" against \"" << english << "\"";
    const size_t bar = english.find('|');
    if (bar != std::string::npos) {
        const size_t translatedBar = translated.find('|');
        ASSERT_NE(translatedBar, std::string::npos) << language << " " << where << " lost its patterns";
        EXPECT_EQ(translated.substr(translatedBar), english.substr(bar)) << language << " " << where;
    }
}

TEST(ResourceLanguages, EveryLanguageIsIncludedByTheModuleScript) {
    const std::string main = ReadFile(ScriptPath(""));
    for (const std::string language : kLanguages) {
        EXPECT_NE(main.find("#include \"qf862kui_" + language + ".rc\""), std::string::npos) << language;
        EXPECT_NE(ReadFile(ScriptPath(language)).find("#pragma code_page(65001)"), std::string::npos)
            << language << ": windres reads the script as UTF-8 only with this pragma";
    }
}

TEST(ResourceLanguages, EveryStringInEveryLanguage) {
    ASSERT_GT(English().strings.size(), 100u);
    for (const std::string language : kLanguages) {
        const Script script = ReadScript(ScriptPath(language));
        for (const auto& [id, english] : English().strings) {
            const auto found = script.strings.find(id);
            if (found == script.strings.end()) {
                ADD_FAILURE() << language << ": string " << id << " (\"" << english << "\") is missing";
                continue;
            }
            ExpectSameShape(language, "string " + id, english, found->second);
            ExpectTranslated(language, "string " + id, english, found->second);
        }
        for (const auto& entry : script.strings)
            EXPECT_TRUE(English().strings.count(entry.first)) << language << ": string " << entry.first << " is not English's";
    }
}

TEST(ResourceLanguages, EveryDialogWithTheSameControlsInEveryLanguage) {
    ASSERT_GT(English().dialogs.size(), 10u);
    for (const std::string language : kLanguages) {
        const Script script = ReadScript(ScriptPath(language));
        EXPECT_EQ(Joined(script.dialogOrder), Joined(English().dialogOrder)) << language;
        for (const auto& [name, english] : English().dialogs) {
            const auto found = script.dialogs.find(name);
            if (found == script.dialogs.end()) {
                ADD_FAILURE() << language << ": dialog " << name << " is missing";
                continue;
            }
            const Dialog& dialog = found->second;
            ExpectTranslated(language, name + " caption", english.caption, dialog.caption);
            ASSERT_EQ(dialog.controls.size(), english.controls.size()) << language << " " << name;
            for (size_t i = 0; i < english.controls.size(); ++i) {
                const Control& want = english.controls[i];
                const Control& got = dialog.controls[i];
                const std::string where = name + " control " + want.id;
                EXPECT_EQ(got.kind + " " + got.id, want.kind + " " + want.id) << language << " " << name << " #" << i;
                EXPECT_EQ(got.hasText, want.hasText) << language << " " << where;
                // The same class and styles, so that Tab, the groups and the default button
                // work as in English; only the text and the place may differ.
                EXPECT_EQ(got.styles, want.styles) << language << " " << where;
                ExpectSameShape(language, where, want.text, got.text);
                ExpectTranslated(language, where, want.text, got.text);
            }
        }
    }
}

// Every dialog names the shell dialog font with DS_SHELLFONT: the platform then draws it in
// its own dialog face for the user's language, one that has the language's glyphs (a font
// named directly, such as a Western bitmap face, has no Japanese ones).
TEST(ResourceLanguages, EveryDialogUsesTheShellDialogFont) {
    std::vector<std::pair<std::string, Script>> scripts = {{"en", English()}};
    for (const std::string language : kLanguages) scripts.emplace_back(language, ReadScript(ScriptPath(language)));
    static const std::regex shellFont(R"((^|[\s|])DS_SHELLFONT($|[\s|]))");
    for (const auto& [language, script] : scripts) {
        ASSERT_EQ(script.dialogs.size(), English().dialogs.size()) << language;
        for (const auto& [name, dialog] : script.dialogs) {
            EXPECT_EQ(dialog.font, "8, \"MS Shell Dlg\"") << language << " " << name;
            EXPECT_TRUE(std::regex_search(dialog.style, shellFont)) << language << " " << name << ": " << dialog.style;
        }
    }
}

// The names of the ribbon list the package installs, which the sheet's ribbon item and
// Device Information show as they are in every language.
std::vector<std::string> RibbonListNames() {
    std::istringstream lines(ReadFile(QF_RIBBON_LIST));
    std::vector<std::string> names;
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            inSection = line == "[Ribbon Type]";
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string::npos) names.push_back(Trimmed(line.substr(equals + 1)));
    }
    return names;
}

// Whether `text` holds `name` as a whole, not as part of a longer word: neither a letter nor
// a digit of the Latin alphabet right before or after it (the names are written in it).
bool NamesWhole(const std::string& text, const std::string& name) {
    const auto latin = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) && !(c & 0x80); };
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const size_t end = at + name.size();
        if ((at == 0 || !latin(text[at - 1])) && (end == text.size() || !latin(text[end]))) return true;
    }
    return false;
}

// A ribbon is a product with one name: a print mode names its ribbon as the ribbon list
// does, in every language ("Hologram", "Clear Varnish", "Scratch Off", "YMCKO").
TEST(ResourceLanguages, PrintModesNameTheRibbonAsTheRibbonListDoes) {
    const std::vector<std::string> names = RibbonListNames();
    ASSERT_GT(names.size(), 20u);
    EXPECT_TRUE(NamesWhole("Front Hologram, Back K", "Hologram"));
    EXPECT_TRUE(NamesWhole("表面 YMC、裏面 K", "YMC"));
    EXPECT_FALSE(NamesWhole("Vorderseite Hologramm", "Hologram"));
    for (const std::string language : kLanguages) {
        const Script script = ReadScript(ScriptPath(language));
        for (int mode = 0; mode < qf::kPrintModeTextCount; ++mode) {
            const std::string id = std::to_string(IDS_PRINT_MODE_FIRST + mode);
            const std::string& english = English().strings.at(id);
            const auto found = script.strings.find(id);
            const std::string translated = found == script.strings.end() ? "" : found->second;
            for (const std::string& name : names) {
                if (!NamesWhole(english, name)) continue;
                EXPECT_TRUE(NamesWhole(translated, name)) << language << " string " << id << ": \"" << translated
                                                          << "\" does not name \"" << name << "\" as \"" << english
                                                          << "\" does";
            }
        }
    }
}

// Degrees are written with the degree sign (U+00B0), never the ordinal indicator (U+00BA)
// that looks like it in some fonts.
TEST(ResourceLanguages, DegreesTakeTheDegreeSign) {
    std::vector<std::pair<std::string, Script>> scripts = {{"en", English()}};
    for (const std::string language : kLanguages) scripts.emplace_back(language, ReadScript(ScriptPath(language)));
    const std::string ordinal = "\u00ba";
    for (const auto& [language, script] : scripts) {
        for (const auto& [id, text] : script.strings) EXPECT_EQ(text.find(ordinal), std::string::npos) << language << " " << id;
        for (const auto& [name, dialog] : script.dialogs)
            for (const Control& control : dialog.controls)
                EXPECT_EQ(control.text.find(ordinal), std::string::npos) << language << " " << name << " " << control.id;
    }
}

TEST(ResourceLanguages, AccessKeysAreUniqueInEachDialog) {
    std::vector<std::pair<std::string, Script>> scripts = {{"en", English()}};
    for (const std::string language : kLanguages) scripts.emplace_back(language, ReadScript(ScriptPath(language)));
    for (const auto& [language, script] : scripts) {
        for (const auto& [name, dialog] : script.dialogs) {
            std::map<char, std::string> owners;
            for (const Control& control : dialog.controls) {
                for (const char key : AccessKeys(control.text)) {
                    const auto [at, added] = owners.emplace(key, control.text);
                    EXPECT_TRUE(added) << language << " " << name << ": '" << key << "' is the key of \""
                                       << at->second << "\" and \"" << control.text << "\"";
                }
            }
        }
    }
}

TEST(ResourceLanguages, TheCheckerReadsPlaceholdersAndKeys) {
    EXPECT_EQ(Joined(Placeholders("%u of %u cards, 100%% and %s")), "%u %u %% %s");
    EXPECT_EQ(Joined(Placeholders("%lu and %5d")), "%lu %5d");
    EXPECT_EQ(AccessKeys("&Portrait && more").size(), 1u);
    EXPECT_EQ(AccessKeys("縦(&P)"), std::vector<char>{'p'});
}

}  // namespace
