#!/usr/bin/env python3
"""Writes the manual's Messages page from its source and the module's string tables.

usage: messages.py SOURCE_TOP [--output FILE]

The source, qf862k-messages.html.in, is the page with each message written as

    <message name="IDS_..." [id="place"] [values="V|V"]>what it means, what to do</message>

inside a <table class="messages">. Each becomes two rows: the message as each language's
string table gives it (English, German, French, Spanish, Japanese, side by side), then the
explanation. A value fills the message's %s, %u and the like in order, the same in every
language (a ribbon's name is the ribbon list's in every language). The build writes the
page beside the module with --output; check_manual.py makes it the same way and checks it
word for word against the string tables.
"""
import html
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_manual  # noqa: E402

SOURCE = "qf862k-messages.html.in"

MESSAGE = re.compile(r'<message name="(IDS_\w+)"((?:\s+\w+="[^"]*")*)>(.*?)</message>', re.S)
ATTRIBUTE = re.compile(r'(\w+)="([^"]*)"')
PLACEHOLDER = re.compile(r"%l?[sdux]|%X")


def shown_lines(raw):
    """A string-table text as a message box shows it, its line breaks kept."""
    text = raw.replace("\\t", " ").replace('""', '"')
    text = re.sub(r"&(&?)", lambda m: "&" if m.group(1) else "", text)
    return [" ".join(line.split()) for line in text.split("\\n")]


def filled(lines, values):
    """The lines with the values in place of the placeholders, in order."""
    pending = list(values)
    out = []
    for line in lines:
        out.append(PLACEHOLDER.sub(lambda m: pending.pop(0) if pending else m.group(0), line))
    if pending:
        raise ValueError(f"{len(pending)} values more than the message has places")
    return out


def generate(top):
    """The Messages page as the build installs it."""
    with open(os.path.join(top, "manual", SOURCE), encoding="utf-8") as source:
        page = source.read()
    tables = {code: check_manual.raw_string_table(top, rc) for code, _, rc in check_manual.LANGUAGES}
    header = ("<tr>" + "".join(f'<th lang="{code}">{html.escape(name)}</th>'
                               for code, name, _ in check_manual.LANGUAGES) + "</tr>\n")
    page = page.replace('<table class="messages">\n', '<table class="messages">\n' + header)

    def row(match):
        name, attributes, explanation = match.group(1), dict(ATTRIBUTE.findall(match.group(2))), match.group(3)
        values = attributes["values"].split("|") if attributes.get("values") else []
        cells = []
        for code, _, _ in check_manual.LANGUAGES:
            if name not in tables[code]:
                raise KeyError(f"{name} is not in the {code} string table")
            lines = filled(shown_lines(tables[code][name]), values)
            text = "<br>\n".join(html.escape(line, quote=False) for line in lines)
            cells.append(f'<td lang="{code}"><q class="ui message" lang="{code}">{text}</q></td>')
        place = f' id="{attributes["id"]}"' if attributes.get("id") else ""
        columns = len(check_manual.LANGUAGES)
        return (f'<tbody class="message"{place}>\n<tr>' + "".join(cells) + "</tr>\n"
                f'<tr><td colspan="{columns}" class="explain">{explanation.strip()}</td></tr>\n</tbody>')

    return MESSAGE.sub(row, page)


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    text = generate(argv[1])
    output = argv[argv.index("--output") + 1] if "--output" in argv else None
    if output is None:
        sys.stdout.write(text)
        return 0
    with open(output, "w", encoding="utf-8") as page:
        page.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
