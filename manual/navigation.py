#!/usr/bin/env python3
"""Writes the navigation of every page of the operator's manual.

usage: navigation.py [MANUAL_DIR]

Each page gets, right after <body>, the site links (contents, Getting started,
Troubleshooting, Messages, the index of terms) with the driver's version, and the links
to the previous and next page in reading order; before </body> the previous and next
links again. The reading order and the site links are those check_manual.py checks
(READING_ORDER, SITE_LINKS); the version is the module's version resource. A page's
title for the links is its <title>. Run it after adding a page to READING_ORDER. The
Messages page's navigation is written into its source, qf862k-messages.html.in.
"""
import html
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_manual  # noqa: E402

SITE_TITLES = {
    check_manual.INDEX: "Contents",
    "qf862k-getting-started.html": "Getting started",
    "qf862k-troubleshooting.html": "Troubleshooting",
    check_manual.MESSAGES: "Messages",
    "qf862k-terms.html": "Index",
}

TOP = re.compile(r"(<body>\n)(?:<nav[^>]*>.*?</nav>\n)*", re.S)
BOTTOM = re.compile(r"(?:<nav class=\"pager bottom\">.*?</nav>\n)?(</body>)", re.S)


def title(manual, name):
    with open(check_manual.source_of(manual, name), encoding="utf-8") as page:
        return html.unescape(re.search(r"<title>(.*?)</title>", page.read(), re.S).group(1).strip())


def pager(manual, name, css):
    at = check_manual.READING_ORDER.index(name)
    links = []
    if at > 0:
        before = check_manual.READING_ORDER[at - 1]
        links.append(f'<a rel="prev" href="{before}">&larr; {html.escape(title(manual, before))}</a>')
    if at + 1 < len(check_manual.READING_ORDER):
        after = check_manual.READING_ORDER[at + 1]
        links.append(f'<a rel="next" href="{after}">{html.escape(title(manual, after))} &rarr;</a>')
    return f'<nav class="{css}">' + "".join(links) + "</nav>\n"


def main(argv):
    manual = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    version = check_manual.module_version(os.path.dirname(os.path.abspath(manual)))
    site = ('<nav class="site">' +
            "".join(f'<a href="{href}">{text}</a>' for href, text in SITE_TITLES.items()) +
            f'<span class="version">Driver version {version}</span></nav>\n')
    for name in check_manual.READING_ORDER:
        path = check_manual.source_of(manual, name)
        with open(path, encoding="utf-8") as page:
            text = page.read()
        text = TOP.sub(lambda m: m.group(1) + site + pager(manual, name, "pager"), text, count=1)
        text = BOTTOM.sub(lambda m: pager(manual, name, "pager bottom") + m.group(1), text, count=1)
        with open(path, "w", encoding="utf-8") as page:
            page.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
