#!/usr/bin/env python3
"""Checks the operator's manual against the module it describes.

usage: check_manual.py SOURCE_TOP [--pictures DIR]

- every page is plain HTML and CSS: no scripts, no event handlers, nothing fetched
  from a network;
- every link between pages and every style sheet resolves to a file of the manual (and a
  link to a place on a page, to an id there), and every page is reachable from the contents
  page;
- every text a page quotes as the module's (<q class="ui">) is a text of the module's
  resources (dialog templates and string table), or one the module still shows from its
  code; %s, %d and the like in a resource text stand for any value;
- the list of the manual's files (qf862k-manual.lst) names exactly the pages, the style
  sheet and the pictures the pages show;
- every page the Help buttons open (driver/ui/help_pages.cpp) exists;
- the message page (qf862k-messages.html, which messages.py makes from its source and the
  string tables) quotes every message the module can show: the string-table texts of
  MESSAGE_IDS, a list that must hold every text id the code hands to ShowMessage or writes
  into a dialog's status line; each message row gives the same message in all five
  languages, each word for word as that language's string table has it, with the same
  values (a ribbon's name is the ribbon list's in every language);
- a quote in another language (<q class="ui" lang="de">) is a text of that language's
  resources;
- the quotes a page marks as messages (<q class="ui message">) are messages of MESSAGE_IDS word
  for word, with only a value the module really puts in a message's %s or %u (a ribbon name
  of the ribbon list, a number, a page of the manual);
- the installation page names the ribbon list (<code class="ribbon-list">) only in folders the
  module reads it from: the version-2 subfolder of the driver directory the module's code
  names, and the driver's own (version-3) folder; every subfolder the code names is given;
- every page has the same navigation: links to the contents, Getting started,
  Troubleshooting, Messages and the index of terms, the previous and next page in
  READING_ORDER, and the driver's version;
- the contents page names the module's version as its version resource gives it;
- with --pictures DIR: every picture a page shows is in DIR, where the workbench has just
  rendered the manual's pictures from the real module, and the Messages page there is the
  one the string tables make now.
Prints every problem and exits with 1 when there is any.
"""
import glob
import html
import html.parser
import os
import re
import sys

MANUAL_LIST = "qf862k-manual.lst"
INDEX = "qf862k-index.html"
MESSAGES = "qf862k-messages.html"
INSTALLATION = "qf862k-installation.html"
LANGUAGE_PAGE = "qf862k-languages.html"

# The languages the module speaks: code, name in that language, resource script.
LANGUAGES = [
    ("en", "English", "qf862kui.rc"),
    ("de", "Deutsch", "qf862kui_de.rc"),
    ("fr", "Français", "qf862kui_fr.rc"),
    ("es", "Español", "qf862kui_es.rc"),
    ("ja", "日本語", "qf862kui_ja.rc"),
]

# The pages in reading order: each page's "previous" and "next" links follow it. A new page
# goes into its place here.
READING_ORDER = [
    INDEX,
    "qf862k-getting-started.html",
    INSTALLATION,
    "qf862k-tasks.html",
    "qf862k-standard-user.html",
    LANGUAGE_PAGE,
    "qf862k-document-sheet.html",
    "qf862k-head-settings.html",
    "qf862k-color-correction.html",
    "qf862k-front-overlay.html",
    "qf862k-back-overlay.html",
    "qf862k-hologram.html",
    "qf862k-hologram-region.html",
    "qf862k-device-sheet.html",
    "qf862k-encoder-settings.html",
    "qf862k-advanced-settings.html",
    "qf862k-tools.html",
    "qf862k-send-file.html",
    "qf862k-firmware.html",
    "qf862k-single-feed.html",
    "qf862k-device-information.html",
    "qf862k-about.html",
    "qf862k-troubleshooting.html",
    MESSAGES,
    "qf862k-ribbons.html",
    "qf862k-magnetic-stripe.html",
    "qf862k-glossary.html",
    "qf862k-terms.html",
]

# The links every page's site navigation (<nav class="site">) holds.
SITE_LINKS = [INDEX, "qf862k-getting-started.html", "qf862k-troubleshooting.html", MESSAGES,
              "qf862k-terms.html"]

# The messages the module can show: its message boxes, the status lines of its dialogs and
# the line of a settings dialog that a user who may not administer the printer sees.
# Field values ("Unknown", "N/A") and labels ("Status: ") are not messages.
MESSAGE_IDS = [
    "IDS_SYSTEM_ERROR", "IDS_JOB_NOT_SENT",
    "IDS_RIBBON_CHANGED", "IDS_RIBBON_CHANGED_MONO", "IDS_NO_RIBBON",
    "IDS_INVALID_TRACK_CHARACTER", "IDS_TOO_MANY_TRACK_CHARACTERS",
    "IDS_CHANGE_OFFSETS", "IDS_CLEANING_READY", "IDS_CARD_IN_FEEDER", "IDS_OFFSET_LIMIT",
    "IDS_NO_DATA_TO_ENCODE", "IDS_NO_RESPONSE",
    "IDS_FILE_SENT", "IDS_FILE_NOT_SENT", "IDS_SENDING_FILE", "IDS_PATH_UNUSABLE",
    "IDS_FIRMWARE_SENT", "IDS_FIRMWARE_UPDATING", "IDS_FIRMWARE_SENDING", "IDS_FIRMWARE_FAILED",
    "IDS_FIRMWARE_OPEN_ERROR", "IDS_FIRMWARE_SIZE_ERROR", "IDS_FIRMWARE_READ_ERROR",
    "IDS_FIRMWARE_REFUSED", "IDS_FIRMWARE_RESETTING",
    "IDS_NOT_MONOCHROME", "IDS_INVALID_COUNT", "IDS_INVALID_COORDINATES",
    "IDS_HOLOGRAM_BATCH_STOPPED", "IDS_HOLOGRAM_TYPE_UNKNOWN", "IDS_HELP_NOT_OPENED", "IDS_HELP_MISSING",
    "IDS_ADMIN_CHANGES", "IDS_ADMIN_OFFSETS", "IDS_NOT_DIRECT",
    "IDS_STORE_IMPOSSIBLE", "IDS_NOT_STORED", "IDS_STORE_FAILED", "IDS_LEFT_DIRECT",
]


def source_of(manual, name):
    """The file a page is written in: its own, or for the Messages page the source messages.py
    makes it from."""
    return os.path.join(manual, name + ".in" if name == MESSAGES else name)


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []       # (tag, attribute, value)
        self.scripts = 0
        self.handlers = []
        self.quotes = []          # English quotes
        self.message_quotes = []  # English quotes marked as messages
        self.foreign_quotes = []  # (language, text, is a message, message row) of other languages
        self.row_quotes = {}      # message row (<tbody class="message">) -> [(language, text)]
        self.nav_links = {}   # nav class -> [(href, rel)]
        self.ribbon_list_paths = []
        self.ids = set()
        self.text = []
        self._quote_depth = 0
        self._quote_text = []
        self._quote_is_message = False
        self._quote_lang = ""
        self._rows = 0
        self._in_row = False
        self._nav = None
        self._code_depth = 0
        self._code_text = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name.startswith("on"):
                self.handlers.append(f"<{tag} {name}>")
            if name in ("href", "src") and value is not None:
                self.links.append((tag, name, value))
        if tag in ("script", "iframe", "object", "embed"):
            self.scripts += 1
        classes = (dict(attrs).get("class") or "").split()
        if dict(attrs).get("id"):
            self.ids.add(dict(attrs)["id"])
        if tag == "nav":
            self._nav = classes[0] if classes else ""
            self.nav_links.setdefault(self._nav, [])
        if tag == "a" and self._nav is not None:
            self.nav_links[self._nav].append((dict(attrs).get("href") or "", dict(attrs).get("rel") or ""))
        if tag == "code" and "ribbon-list" in classes:
            self._code_depth = 1
            self._code_text = []
        if tag == "tbody" and "message" in classes:
            self._rows += 1
            self._in_row = True
            self.row_quotes[self._rows] = []
        if tag == "q":
            if self._quote_depth or "ui" in classes:
                self._quote_depth += 1
                if self._quote_depth == 1:
                    self._quote_text = []
                    self._quote_is_message = "message" in classes
                    # A message row's language cells name their language; the explanation's
                    # quotes (English) do not.
                    self._quote_lang = dict(attrs).get("lang") or ""

    def handle_endtag(self, tag):
        if tag == "nav":
            self._nav = None
        if tag == "code" and self._code_depth:
            self._code_depth = 0
            self.ribbon_list_paths.append("".join(self._code_text).strip())
        if tag == "tbody":
            self._in_row = False
        if tag == "q" and self._quote_depth:
            self._quote_depth -= 1
            if self._quote_depth == 0:
                text = "".join(self._quote_text)
                if self._in_row and self._quote_is_message and self._quote_lang:
                    self.row_quotes[self._rows].append((self._quote_lang, text))
                if self._quote_lang not in ("", "en"):
                    self.foreign_quotes.append((self._quote_lang, text, self._quote_is_message))
                    return
                self.quotes.append(text)
                if self._quote_is_message:
                    self.message_quotes.append(text)

    def handle_data(self, data):
        self.text.append(data)
        if self._quote_depth:
            self._quote_text.append(data)
        if self._code_depth:
            self._code_text.append(data)


def normalise(text):
    return " ".join(text.split())


def shown(resource_text):
    """A resource text as a window shows it: accelerator marks gone, && as &."""
    text = resource_text.replace("\\n", "\n").replace("\\t", " ").replace('""', '"')
    text = re.sub(r"&(&?)", lambda m: "&" if m.group(1) else "", text)
    return normalise(text)


def literals(source):
    return re.findall(r'(?:\bu|\bL)?"((?:[^"\\\n]|\\.)*)"', source)


def resource_texts(top, script):
    """Texts of one language's resource script (dialog templates and string table)."""
    resources = set()
    with open(os.path.join(top, "driver/resources", script), encoding="utf-8") as rc:
        for line in rc:
            stripped = line.strip()
            if stripped.startswith(("#", "//", "VALUE", "FONT")) or " ICON " in stripped:
                continue
            for raw in re.findall(r'"((?:[^"]|"")*)"', stripped):
                # A control shows & as the mark of its access key; a list entry may not.
                resources.add(shown(raw))
                resources.add(normalise(raw.replace("\\n", "\n").replace('""', '"')))
    return resources


def module_texts(top):
    """Texts of the module's English resources, and the texts its code shows."""
    resources = resource_texts(top, "qf862kui.rc")
    code = set()
    for path in glob.glob(os.path.join(top, "driver/**/*.cpp"), recursive=True) + \
            glob.glob(os.path.join(top, "driver/**/*.h"), recursive=True):
        with open(path, encoding="utf-8") as source:
            for raw in literals(source.read()):
                code.add(normalise(raw.replace("\\n", "\n").replace('\\"', '"')))
    return resources, code


def pattern(text):
    parts = re.split(r"(%l?[sdux]|%X)", text)
    regex = "".join(".+?" if re.fullmatch(r"%l?[sdux]|%X", p) else re.escape(p) for p in parts)
    return re.compile(regex + r"\Z")


def matches(quote, resources, code):
    """A quote matches a text exactly, or a resource text with values in its place."""
    if quote in resources or quote in code:
        return True
    return any(re.search(r"[^%\s]", re.sub(r"%l?[sdux]|%X", "", text)) and pattern(text).match(quote)
               for text in resources if "%" in text)


def raw_string_table(top, script="qf862kui.rc"):
    """One language's string table as its script writes it, by id name and by number."""
    with open(os.path.join(top, "driver/resources", script), encoding="utf-8") as rc:
        source = rc.read()
    table = source[source.index("STRINGTABLE"):]
    table = table[:table.index("\nEND")]
    found = {}
    for key, raw in re.findall(r'^\s*(IDS_\w+|\d+)\s+"((?:[^"]|"")*)"', table, re.M):
        found[int(key) if key.isdigit() else key] = raw
    return found


def string_table(top, script="qf862kui.rc"):
    """One language's string table by id name and by number, as a window shows it."""
    return {key: shown(raw) for key, raw in raw_string_table(top, script).items()}


def ids_the_code_shows(top):
    """Text ids the code hands to ShowMessage or writes into a status line."""
    found = set()
    for path in glob.glob(os.path.join(top, "driver/**/*.cpp"), recursive=True):
        with open(path, encoding="utf-8") as source:
            code = source.read()
        for call in re.findall(r"ShowMessage\(([^;]*?)\)\s*[;=!)]", code):
            found.update(name for name in re.findall(r"IDS_\w+", call) if name != "IDS_CAPTION")
        for call in re.findall(r"SetControlString\(\s*\w+,\s*IDC_\w*STATUS,([^;]*)\);", code):
            found.update(re.findall(r"IDS_\w+", call))
        # A text id chosen into a variable first, then shown ("textId = IDS_...").
        found.update(re.findall(r"\btextId\s*=\s*(IDS_\w+)", code))
    return found


def capturing(text):
    """A message text as a pattern whose groups are the values put in its %s, %u and the like."""
    parts = re.split(r"(%l?[sdux]|%X)", text)
    return re.compile("".join("(.+?)" if re.fullmatch(r"%l?[sdux]|%X", p) else re.escape(p) for p in parts) + r"\Z")


def ribbon_list(top):
    """The ribbon list the package installs: its name of each printer ribbon number."""
    names, section = {}, None
    with open(os.path.join(top, "package/qf862rib.ini"), encoding="utf-8") as ini:
        for line in ini:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                section = line
            elif section == "[Ribbon Type]" and "=" in line:
                key, value = line.split("=", 1)
                names[int(key)] = value.strip()
    return names


def value_rules(top):
    """What the module puts in the value of each message that has one. The ribbon messages
    name a ribbon as the ribbon list names the printer's ribbon number, in every language
    (number 1, the one-colour ribbon of unknown kind, the monochrome notice; number 0, no
    ribbon, no name); a count is a number; Help names a page of the manual."""
    ribbons = ribbon_list(top)
    number = lambda value: value.isdigit()
    return {
        "IDS_RIBBON_CHANGED": [{name for key, name in ribbons.items() if key not in (0, 1)}.__contains__],
        "IDS_RIBBON_CHANGED_MONO": [{ribbons.get(1)}.__contains__],
        "IDS_HOLOGRAM_BATCH_STOPPED": [number, number],
        "IDS_HELP_NOT_OPENED": [lambda value: re.fullmatch(r"[A-Z]:\\.*\\qf862k-[a-z0-9-]+\.html", value) is not None],
    }


def message_of(quote, table, rules):
    """The message id whose text the quote gives word for word, its values (if any) ones the
    module puts there; None when there is none. A quote that keeps a message's %s as it is
    gives that message too."""
    for name in MESSAGE_IDS:
        text = table.get(name)
        if text is None:
            continue
        if quote == text:
            return name
        if "%" not in text:
            continue
        found = capturing(text).match(quote)
        if found and all(rule(value) for rule, value in zip(rules.get(name, []), found.groups())):
            return name
    return None


def check_message_quotes(top, name, parser, problems):
    """Quotes marked as messages are messages word for word; a quote that fills a message's
    value (any quote of the module's texts) fills it with a value the module puts there."""
    table = string_table(top)
    rules = value_rules(top)
    for quote in parser.message_quotes:
        text = normalise(quote)
        if message_of(text, table, rules) is None:
            problems.append(f"{name}: marks \"{text}\" as a message, which is not a message of the module word for word")
    for quote in parser.quotes:
        text = normalise(quote)
        if message_of(text, table, rules) is not None:
            continue
        for message, rule_list in rules.items():
            pattern_text = table.get(message)
            if not pattern_text or text == pattern_text:
                continue
            found = capturing(pattern_text).match(text)
            if found and not all(rule(value) for rule, value in zip(rule_list, found.groups())):
                problems.append(f"{name}: quotes \"{text}\", a message of the module with a value it never shows there")


def check_messages(top, parser, problems):
    """Every message of the module has a row on the page, which gives it in every language."""
    table = string_table(top)
    rules = value_rules(top)
    for name in sorted(ids_the_code_shows(top) - set(MESSAGE_IDS) - {"IDS_FILE_CHOSEN"}):
        problems.append(f"check_manual.py: the code shows {name}, which MESSAGE_IDS lacks")
    given = {message_of(normalise(quotes[0][1]), table, rules)
             for quotes in parser.row_quotes.values() if quotes and quotes[0][0] == "en"}
    for name in MESSAGE_IDS:
        if name not in table:
            problems.append(f"check_manual.py: {name} is not in the string table")
        elif name not in given:
            problems.append(f"{MESSAGES}: lacks a row of the message \"{table[name]}\" ({name}) in every language")
    check_message_rows(top, parser, problems)


def check_message_rows(top, parser, problems):
    """Each message row gives one message in the five languages in order, each word for word as
    its language's string table has it, with the same values: the same number, path or ribbon
    name (the ribbon list's, in every language)."""
    tables = {code: string_table(top, script) for code, _, script in LANGUAGES}
    scripts = {code: script for code, _, script in LANGUAGES}
    rules = value_rules(top)

    order = [code for code, _, _ in LANGUAGES]
    for row, quotes in sorted(parser.row_quotes.items()):
        if [language for language, _ in quotes] != order:
            problems.append(f"{MESSAGES}: message row {row} gives the languages "
                            f"{' '.join(language for language, _ in quotes)}, not {' '.join(order)}")
            continue
        english = normalise(quotes[0][1])
        name = message_of(english, tables["en"], rules)
        if name is None:
            continue  # reported as a quote that is not a message
        values = capturing(tables["en"][name]).match(english).groups()
        for language, quote in quotes[1:]:
            text = normalise(quote)
            found = capturing(tables[language][name]).match(text) if name in tables[language] else None
            if not found:
                problems.append(f"{MESSAGES}: gives {name} in {language} as \"{text}\", not as "
                                f"{scripts[language]} has it: \"{tables[language].get(name)}\"")
            elif values != found.groups():
                problems.append(f"{MESSAGES}: gives {name} in {language} with the values {found.groups()}, "
                                f"in English with {values}")


def check_foreign_quotes(top, name, parser, problems):
    """A quote in another language is a text of that language's resources."""
    scripts = {code: script for code, _, script in LANGUAGES}
    texts = {}
    for language, quote, _ in parser.foreign_quotes:
        text = normalise(quote)
        if language not in scripts:
            problems.append(f"{name}: quotes \"{text}\" in {language}, which the module does not speak")
            continue
        if language not in texts:
            texts[language] = resource_texts(top, scripts[language])
        if not matches(text, texts[language], set()):
            problems.append(f"{name}: quotes \"{text}\", which is not a text of {scripts[language]}")


def catalogue_folders(top):
    """The subfolders of the driver directory the module's code reads the ribbon list from:
    the "\\N\\" it puts between the directory and the file name."""
    folders = set()
    for path in glob.glob(os.path.join(top, "driver/**/*.cpp"), recursive=True):
        with open(path, encoding="utf-8") as source:
            code = source.read()
        if "kRibbonCatalogueFile" in code or "qf862rib.ini" in code:
            folders.update(re.findall(r'"\\\\(\d+)\\\\"', code))
    return folders


def check_ribbon_list(top, parser, problems):
    """The installation page names the ribbon list where the module reads it: in a subfolder of
    the driver directory the code names, or in the driver's own folder (version 3), which the
    module reads first; every subfolder the code names is given."""
    folders = catalogue_folders(top)
    if not folders:
        problems.append("check_manual.py: cannot tell from the code where the module reads qf862rib.ini")
    named = set()
    for path in parser.ribbon_list_paths:
        found = re.fullmatch(r"C:\\Windows\\System32\\spool\\drivers\\(?:x64|W32X86)\\(\d+)\\qf862rib\.ini", path)
        if not found:
            problems.append(f"{INSTALLATION}: names the ribbon list as {path}, not a file in a driver folder")
        elif found.group(1) != "3" and found.group(1) not in folders:
            problems.append(f"{INSTALLATION}: puts the ribbon list in {path}, where the module does not read it")
        else:
            named.add(found.group(1))
    for folder in sorted(folders - named):
        problems.append(f"{INSTALLATION}: does not name the ribbon list in the version-{folder} folder, where the module reads it")


def module_version(top):
    with open(os.path.join(top, "driver/resources/qf862kui.rc"), encoding="utf-8") as rc:
        return re.search(r'VALUE "FileVersion", "([^"]+)"', rc.read()).group(1)


def check_navigation(name, parser, version, problems):
    """The site links, previous and next in reading order, and the version, on every page."""
    if name not in READING_ORDER:
        problems.append(f"{name}: not in READING_ORDER of check_manual.py")
        return
    site = {href for href, _ in parser.nav_links.get("site", [])}
    for link in SITE_LINKS:
        if link not in site:
            problems.append(f"{name}: its navigation lacks the link to {link}")
    at = READING_ORDER.index(name)
    expected = set()
    if at > 0:
        expected.add(("prev", READING_ORDER[at - 1]))
    if at + 1 < len(READING_ORDER):
        expected.add(("next", READING_ORDER[at + 1]))
    pager = {(rel, href) for href, rel in parser.nav_links.get("pager", [])}
    for rel, href in sorted(expected - pager):
        problems.append(f"{name}: lacks the {rel} link to {href}")
    for rel, href in sorted(pager - expected):
        problems.append(f"{name}: has a {rel or 'pager'} link to {href}, not the {rel or 'pager'} page in reading order")
    shown_version = re.search(r"Driver version ([0-9.]+)", " ".join(parser.text))
    if not shown_version:
        problems.append(f"{name}: does not name the driver version")
    elif shown_version.group(1) != version:
        problems.append(f"{name}: names driver version {shown_version.group(1)}, the module's version resource {version}")


def check_version(top, index_text, problems):
    with open(os.path.join(top, "driver/resources/qf862kui.rc"), encoding="utf-8") as rc:
        version = re.search(r'VALUE "FileVersion", "([^"]+)"', rc.read()).group(1)
    with open(os.path.join(top, "driver/resources/version.h"), encoding="utf-8") as header:
        shown_version = re.search(r'kVersionText\[\] = L"([^"]+)"', header.read()).group(1)
    if shown_version != version:
        problems.append(f"version.h: the About box shows {shown_version}, the version resource {version}")
    found = re.search(r'<p class="version">Driver version ([0-9.]+), (\d{4}-\d{2}-\d{2})</p>', index_text)
    if not found:
        problems.append(f'{INDEX}: no <p class="version">Driver version N, YYYY-MM-DD</p>')
    elif found.group(1) != version:
        problems.append(f"{INDEX}: names version {found.group(1)}, the module's version resource {version}")


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    top = argv[1]
    pictures_dir = argv[argv.index("--pictures") + 1] if "--pictures" in argv else None
    manual = os.path.join(top, "manual")
    problems = []
    import messages  # the Messages page is made from its source and the string tables
    texts = {os.path.basename(p): None for p in glob.glob(os.path.join(manual, "*.html"))}
    try:
        texts[MESSAGES] = messages.generate(top)
    except (KeyError, ValueError, OSError) as error:
        problems.append(f"messages.py: cannot make {MESSAGES}: {error}")
    pages = sorted(texts)
    resources, code = module_texts(top)

    pictures = set()
    links_from = {}
    ids_of = {}
    fragments = []  # (page, target page, fragment)
    for name in pages:
        parser = Page()
        if texts[name] is None:
            with open(os.path.join(manual, name), encoding="utf-8") as page:
                texts[name] = page.read()
        parser.feed(texts[name])
        if parser.scripts:
            problems.append(f"{name}: a script or embedded object")
        for handler in parser.handlers:
            problems.append(f"{name}: an event handler {handler}")
        links_from[name] = set()
        ids_of[name] = parser.ids
        for tag, attribute, value in parser.links:
            target = value.split("#", 1)[0]
            if re.match(r"^[a-z][a-z0-9+.-]*:|^//", value, re.I):
                problems.append(f"{name}: {attribute}={value} leaves the manual")
                continue
            if tag == "img":
                pictures.add(target)
                if not re.fullmatch(r"qf862k-[a-z0-9-]+\.png", target):
                    problems.append(f"{name}: picture {target} is not one of the manual's rendered pictures")
                elif pictures_dir and not os.path.isfile(os.path.join(pictures_dir, target)):
                    problems.append(f"{name}: picture {target} was not rendered by the workbench into {pictures_dir}")
                continue
            if "#" in value and tag == "a":
                fragments.append((name, target or name, value.split("#", 1)[1]))
            if not target:
                continue
            if target not in texts and not os.path.isfile(os.path.join(manual, target)):
                problems.append(f"{name}: link {value} does not resolve")
            elif target.endswith(".html"):
                links_from[name].add(target)
        if name == MESSAGES:
            check_messages(top, parser, problems)
        if name == INSTALLATION:
            check_ribbon_list(top, parser, problems)
        check_message_quotes(top, name, parser, problems)
        check_foreign_quotes(top, name, parser, problems)
        check_navigation(name, parser, module_version(top), problems)
        if name == INDEX:
            check_version(top, texts[name], problems)
        for quote in parser.quotes:
            text = normalise(quote)
            if not matches(text, resources, code):
                problems.append(f"{name}: quotes \"{text}\", which is not a text of the module")

    for name, target, fragment in fragments:
        if target in ids_of and fragment not in ids_of[target]:
            problems.append(f"{name}: link {target}#{fragment} names no place on that page")

    reached, queue = set(), [INDEX]
    while queue:
        page = queue.pop()
        if page in reached or page not in links_from:
            continue
        reached.add(page)
        queue.extend(links_from[page])
    for required in (MESSAGES, INSTALLATION):
        if required not in pages:
            problems.append(f"{required}: missing")
    for listed_page in READING_ORDER:
        if listed_page not in pages:
            problems.append(f"check_manual.py: READING_ORDER names {listed_page}, which the manual lacks")
    for name in pages:
        if name not in reached:
            problems.append(f"{name}: not reachable from {INDEX}")

    styles = sorted(os.path.basename(p) for p in glob.glob(os.path.join(manual, "*.css")))
    for style in styles:
        with open(os.path.join(manual, style), encoding="utf-8") as sheet:
            if re.search(r"url\(|@import", sheet.read()):
                problems.append(f"{style}: fetches another file")
    with open(os.path.join(manual, MANUAL_LIST), encoding="utf-8") as listing:
        listed = [line.strip() for line in listing if line.strip() and not line.startswith("#")]
    expected = set(pages) | set(styles) | pictures
    for missing in sorted(expected - set(listed)):
        problems.append(f"{MANUAL_LIST}: does not list {missing}")
    for extra in sorted(set(listed) - expected):
        problems.append(f"{MANUAL_LIST}: lists {extra}, which no page uses")
    if len(listed) != len(set(listed)):
        problems.append(f"{MANUAL_LIST}: lists a file twice")

    with open(os.path.join(top, "driver/ui/help_pages.cpp"), encoding="utf-8") as source:
        help_pages = re.findall(r'"(qf862k-[a-z0-9-]+\.html)"', source.read())
    for page in help_pages:
        if page not in pages:
            problems.append(f"help_pages.cpp: Help opens {page}, which the manual lacks")
    # Help names the window's own page when nothing opens it: the example gives such a page.
    with open(source_of(manual, MESSAGES), encoding="utf-8") as source:
        for example in re.findall(r'<message name="IDS_HELP_NOT_OPENED" values="[^"]*\\([^"\\]+)"', source.read()):
            if example not in help_pages or example == INDEX:
                problems.append(f"{MESSAGES}: the Help message's example names {example}, not a window's own page")

    if pictures_dir and MESSAGES in texts:
        try:
            with open(os.path.join(pictures_dir, MESSAGES), encoding="utf-8") as installed:
                current = installed.read() == texts[MESSAGES]
        except OSError:
            current = False
        if not current:
            problems.append(f"{pictures_dir}: its {MESSAGES} is not the one the string tables make now "
                            "(the build writes it with manual/messages.py)")

    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {len(pictures)} pictures, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
