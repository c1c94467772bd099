#!/usr/bin/env python3
"""Checks the operator's manual against the module it describes.

usage: check_manual.py SOURCE_TOP [--pictures DIR]

- every page is plain HTML and CSS: no scripts, no event handlers, nothing fetched
  from a network;
- every link between pages and every style sheet resolves to a file of the manual, and
  every page is reachable from the contents page;
- every text a page quotes as the module's (<q class="ui">) is a text of the module's
  resources (dialog templates and string table), or one the module still shows from its
  code; %s, %d and the like in a resource text stand for any value;
- the list of the manual's files (qf862k-manual.lst) names exactly the pages, the style
  sheet and the pictures the pages show;
- every page the Help buttons open (driver/entry/help_pages.cpp) exists;
- the message page (qf862k-messages.html) quotes every message the module can show: the
  string-table texts of MESSAGE_IDS, a list that must hold every text id the code hands
  to ShowMessage or writes into a dialog's status line;
- the contents page names the module's version as its version resource gives it;
- with --pictures DIR: every picture a page shows is in DIR, where the workbench has just
  rendered the manual's pictures from the real module.
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

# The messages the module can show: its message boxes and the status lines of its
# dialogs. Field values ("Unknown", "N/A") and labels ("Status: ") are not messages.
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
]


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []       # (tag, attribute, value)
        self.scripts = 0
        self.handlers = []
        self.quotes = []
        self._quote_depth = 0
        self._quote_text = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name.startswith("on"):
                self.handlers.append(f"<{tag} {name}>")
            if name in ("href", "src") and value is not None:
                self.links.append((tag, name, value))
        if tag in ("script", "iframe", "object", "embed"):
            self.scripts += 1
        if tag == "q":
            classes = (dict(attrs).get("class") or "").split()
            if self._quote_depth or "ui" in classes:
                self._quote_depth += 1
                if self._quote_depth == 1:
                    self._quote_text = []

    def handle_endtag(self, tag):
        if tag == "q" and self._quote_depth:
            self._quote_depth -= 1
            if self._quote_depth == 0:
                self.quotes.append("".join(self._quote_text))

    def handle_data(self, data):
        if self._quote_depth:
            self._quote_text.append(data)


def normalise(text):
    return " ".join(text.split())


def shown(resource_text):
    """A resource text as a window shows it: accelerator marks gone, && as &."""
    text = resource_text.replace("\\n", "\n").replace("\\t", " ").replace('""', '"')
    text = re.sub(r"&(&?)", lambda m: "&" if m.group(1) else "", text)
    return normalise(text)


def literals(source):
    return re.findall(r'(?:\bu|\bL)?"((?:[^"\\\n]|\\.)*)"', source)


def module_texts(top):
    """Texts of the module's resources, and the texts its code shows."""
    resources = set()
    with open(os.path.join(top, "driver/resources/qf862kui.rc"), encoding="utf-8") as rc:
        for line in rc:
            stripped = line.strip()
            if stripped.startswith(("#", "//", "VALUE", "FONT")) or " ICON " in stripped:
                continue
            for raw in re.findall(r'"((?:[^"]|"")*)"', stripped):
                # A control shows & as the mark of its access key; a list entry may not.
                resources.add(shown(raw))
                resources.add(normalise(raw.replace("\\n", "\n").replace('""', '"')))
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


def string_table(top):
    """The string table's texts by id name, as a window shows them."""
    with open(os.path.join(top, "driver/resources/qf862kui.rc"), encoding="utf-8") as rc:
        source = rc.read()
    table = source[source.index("STRINGTABLE"):]
    table = table[:table.index("\nEND")]
    return {name: shown(raw) for name, raw in re.findall(r'^\s*(IDS_\w+)\s+"((?:[^"]|"")*)"', table, re.M)}


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


def check_messages(top, quotes_on_page, problems):
    table = string_table(top)
    for name in sorted(ids_the_code_shows(top) - set(MESSAGE_IDS) - {"IDS_FILE_CHOSEN"}):
        problems.append(f"check_manual.py: the code shows {name}, which MESSAGE_IDS lacks")
    quotes = [normalise(q) for q in quotes_on_page]
    for name in MESSAGE_IDS:
        if name not in table:
            problems.append(f"check_manual.py: {name} is not in the string table")
            continue
        text = table[name]
        if not any(q == text or ("%" in text and pattern(text).match(q)) for q in quotes):
            problems.append(f"{MESSAGES}: lacks the message \"{text}\" ({name})")


def check_version(top, index_text, problems):
    with open(os.path.join(top, "driver/resources/qf862kui.rc"), encoding="utf-8") as rc:
        version = re.search(r'VALUE "FileVersion", "([^"]+)"', rc.read()).group(1)
    with open(os.path.join(top, "driver/entry/version.h"), encoding="utf-8") as header:
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
    pages = sorted(os.path.basename(p) for p in glob.glob(os.path.join(manual, "*.html")))
    resources, code = module_texts(top)

    pictures = set()
    links_from = {}
    for name in pages:
        parser = Page()
        with open(os.path.join(manual, name), encoding="utf-8") as page:
            parser.feed(page.read())
        if parser.scripts:
            problems.append(f"{name}: a script or embedded object")
        for handler in parser.handlers:
            problems.append(f"{name}: an event handler {handler}")
        links_from[name] = set()
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
            if not target:
                continue
            if not os.path.isfile(os.path.join(manual, target)):
                problems.append(f"{name}: link {value} does not resolve")
            elif target.endswith(".html"):
                links_from[name].add(target)
        if name == MESSAGES:
            check_messages(top, parser.quotes, problems)
        if name == INDEX:
            with open(os.path.join(manual, name), encoding="utf-8") as page:
                check_version(top, page.read(), problems)
        for quote in parser.quotes:
            text = normalise(quote)
            if not matches(text, resources, code):
                problems.append(f"{name}: quotes \"{text}\", which is not a text of the module")

    reached, queue = set(), [INDEX]
    while queue:
        page = queue.pop()
        if page in reached or page not in links_from:
            continue
        reached.add(page)
        queue.extend(links_from[page])
    if MESSAGES not in pages:
        problems.append(f"{MESSAGES}: missing")
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

    with open(os.path.join(top, "driver/entry/help_pages.cpp"), encoding="utf-8") as source:
        for page in re.findall(r'"(qf862k-[a-z0-9-]+\.html)"', source.read()):
            if page not in pages:
                problems.append(f"help_pages.cpp: Help opens {page}, which the manual lacks")

    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {len(pictures)} pictures, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
