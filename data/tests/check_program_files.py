#!/usr/bin/env python3
"""Checks the text and bitmap files of a program directory.

    check_program_files.py PROGRAM_DIR

The language list, the page help texts, the setup page snippets with the start
page, the stylesheet templates, the installation note and the dialog bitmaps
must be where the programs look for them and carry what the programs search in
them: the snippets the markers and element ids that the page generator and the
HTML front-end find, the stylesheet template its ten marks.
"""
import re
import struct
import sys
import unittest
from pathlib import Path

PROGRAM_DIR = None


def text(name):
    return (PROGRAM_DIR / name).read_text(encoding="latin-1")


class LanguageList(unittest.TestCase):
    def entries(self):
        # Each line: a decimal LCID, then the language's name.
        result = []
        for line in text("lcid.dat").splitlines():
            m = re.match(r"\s*(\d+)(.*)$", line)
            self.assertIsNotNone(m, line)
            result.append((int(m.group(1)), m.group(2).strip()))
        return result

    def test_every_line_is_an_lcid_and_a_name(self):
        entries = self.entries()
        self.assertGreater(len(entries), 40)
        for lcid, name in entries:
            with self.subTest(lcid=lcid):
                self.assertNotEqual(name, "")

    def test_lcids_are_unique_and_include_us_english(self):
        entries = self.entries()
        lcids = [lcid for lcid, _ in entries]
        self.assertEqual(len(lcids), len(set(lcids)))
        self.assertIn((1033, "English (United States)"), entries)
        self.assertIn((1031, "German (Germany)"), entries)


class HelpTexts(unittest.TestCase):
    PAGES = ["info", "directories", "choices", "registry", "shortcut", "environment",
             "mergemodules", "build", "gui", "msi", "FileAssociations", "Updates"]

    def test_one_rich_text_per_page(self):
        for page in self.PAGES:
            with self.subTest(page=page):
                rtf = text("help/" + page + ".rtf")
                self.assertTrue(rtf.startswith("{\\rtf1"))
                depth = 0
                for ch in rtf:                   # braces balance and close at the end
                    depth += {"{": 1, "}": -1}.get(ch, 0)
                    self.assertGreaterEqual(depth, 0)
                self.assertEqual(depth, 0)
                self.assertGreater(len(rtf), 300)


# What the HTML front-end looks for on each page: the page's marker (its Next
# link or main button) and its fields, with the element each must be.
PAGE_ELEMENTS = {
    "Welcome.ins": {"rwiCancel": "a"},
    "License.ins": {"rwiLicense": "a", "rbyes": "radio", "rbno": "radio", "rwiCancel": "a"},
    "Readme.ins": {"rwiCancel": "a"},
    "CustInfo.ins": {"rwiCustomerInfo": "a", "CustomerName": "text", "CompanyName": "text",
                     "Key": "text", "rwiCancel": "a"},
    "Location.ins": {"rwiLocation": "a", "Location": "text", "Browse": "button",
                     "rwiCancel": "a"},
    "Group.ins": {"rwiGroup": "a", "CurrentUser": "radio", "AllUsers": "radio",
                  "ExistingGroups": "select", "Browse2": "button", "Group": "text",
                  "rwiCancel": "a"},
    "InstallType.ins": {"rwiType": "a", "Typical": "radio", "Custom": "radio",
                        "Complete": "radio", "rwiCancel": "a"},
    "InstallTypeDisableComplete.ins": {"rwiType": "a", "Typical": "radio", "Custom": "radio",
                                       "Complete": "radio", "rwiCancel": "a"},
    "Custom.ins": {"rwiCustom": "a", "Features": "select", "Descriptions": "select",
                   "rwiCancel": "a"},
    "Install.ins": {"rwiInstall": "button", "Summary": "textarea", "rwiCancel": "a"},
    "Progress.ins": {"pbProgress": "applet"},
    "Finish.ins": {"Finish": "button"},
}
MARKERS = ["rwiCustomerInfo", "rwiLocation", "rwiGroup", "rwiLicense", "rwiCustom", "rwiType",
           "rwiInstall", "Finish"]
# Back and Next links the page generator writes: 1 back two pages, 2 back one
# page, 8 next one page, 16 next two pages.
LINK_FLAGS = {"Welcome.ins": 8, "License.ins": 10, "Readme.ins": 10, "CustInfo.ins": 10,
              "Location.ins": 10, "Group.ins": 10, "InstallType.ins": 18,
              "InstallTypeDisableComplete.ins": 18, "Custom.ins": 10, "Install.ins": 1,
              "Progress.ins": 0, "Finish.ins": 0}


def element_kinds(html):
    """id -> element kind ("a", "button", "select", "textarea", "applet", or the
    input type)."""
    kinds = {}
    for m in re.finditer(r"<(\w+)([^>]*)>", html):
        tag, attrs = m.group(1).lower(), m.group(2)
        id_match = re.search(r'\bid="([^"]*)"', attrs)
        if not id_match:
            continue
        kind = tag
        if tag == "input":
            t = re.search(r'\btype="([^"]*)"', attrs)
            kind = t.group(1).lower() if t else "text"
        kinds[id_match.group(1)] = kind
    return kinds


def link_page(snippet, flags, back, nxt):
    """The page generator's Back/Next wiring: names go between the quotes of the
    first href (Back, or Next when there is no Back) and of the next one (Next)."""
    i = snippet.lower().find("href=")
    if i < 0:
        return snippet
    head, rest = snippet[:i + 7], snippet[i + 7:]
    wrote_back = False
    if flags & 3:
        head = head[:-1] + back + head[-1]
        wrote_back = True
    if flags & 24:
        if wrote_back:
            j = rest.lower().find("href=") + 6
            rest = rest[:j] + nxt + rest[j:]
        else:
            head = head[:-1] + nxt + head[-1]
    return head + rest


def anchors(html):
    """(href, text) of every link, text without tags and entities decoded."""
    result = []
    for m in re.finditer(r'<a\b[^>]*href="([^"]*)"[^>]*>(.*?)</a>', html, re.S):
        label = m.group(2).replace("&lt;", "<").replace("&gt;", ">").strip()
        result.append((m.group(1), label))
    return result


class PageSnippets(unittest.TestCase):
    def test_elements_the_front_end_looks_for(self):
        for name, wanted in PAGE_ELEMENTS.items():
            kinds = element_kinds(text(name))
            for element_id, kind in wanted.items():
                with self.subTest(page=name, id=element_id):
                    self.assertEqual(kinds.get(element_id), kind)

    def test_each_page_carries_at_most_its_own_marker(self):
        # The front-end decides what a page is by the first marker it finds.
        for name, wanted in PAGE_ELEMENTS.items():
            found = [m for m in MARKERS if m in element_kinds(text(name))]
            own = [m for m in MARKERS if m in wanted]
            with self.subTest(page=name):
                self.assertEqual(found, own)

    def test_complete_is_offered_only_by_the_full_install_type_page(self):
        full = re.search(r'<input[^>]*id="Complete"[^>]*>', text("InstallType.ins")).group(0)
        reduced = re.search(r'<input[^>]*id="Complete"[^>]*>',
                            text("InstallTypeDisableComplete.ins")).group(0)
        self.assertNotIn("disabled", full)
        self.assertIn("disabled", reduced)

    def test_back_and_next_links_take_the_neighbours_names(self):
        for name, flags in LINK_FLAGS.items():
            with self.subTest(page=name):
                linked = anchors(link_page(text(name), flags, "Prev.htm", "Next.htm"))
                by_label = {label: href for href, label in linked}
                if flags & 3:
                    self.assertEqual(by_label.get("< Back"), "Prev.htm")
                if flags & 24:
                    self.assertEqual(by_label.get("Next >"), "Next.htm")
                if flags == 0:
                    self.assertEqual(anchors(text(name)), linked)
                # Every other link (Cancel) keeps its empty target.
                for href, label in linked:
                    if label not in ("< Back", "Next >"):
                        self.assertEqual(href, "")

    def test_licence_and_readme_text_goes_into_the_text_area(self):
        for name in ["License.ins", "Readme.ins"]:
            with self.subTest(page=name):
                s = text(name)
                pos = s.find("</textarea>")
                self.assertGreaterEqual(pos, 0)
                filled = s[:pos] + "THE TEXT" + s[pos:]
                self.assertRegex(filled, r"<textarea[^>]*>THE TEXT</textarea>")

    def test_progress_page_takes_two_colours(self):
        s = text("Progress.ins")
        self.assertEqual(s.count("#"), 2)
        filled = s.replace("#", "8421504", 1).replace("#", "32768", 1)
        values = re.findall(r'<param[^>]*value="([^"]*)"', filled)
        self.assertEqual(values, ["8421504", "32768"])
        self.assertIn('id="pbProgress"', s)

    def test_start_page_frame_gets_the_welcome_page(self):
        s = text("setup.ins")
        first = s.find("src=")
        second = s.find("src=", first + 1)
        self.assertGreater(first, 0)
        self.assertGreater(second, first)
        at = second + len("src=") + 1
        page = s[:at] + "TqWelcome.htm" + s[at:]
        self.assertRegex(page, r'<frame[^>]*name="mainFrame"[^>]*src="TqWelcome.htm"')


class StyleSheets(unittest.TestCase):
    def test_template_has_ten_marks(self):
        self.assertEqual(text("tqstyle.tpl").count("^"), 10)

    def test_default_stylesheet_is_the_template_with_the_default_fonts(self):
        # The font-and-colour dialog starts with green 12 point Verdana for the
        # text and blue 12 point Verdana for Back, Next and Cancel.
        s = text("tqstyle.tpl")
        for value in ["#008000", "12pt", "Verdana", "normal", "normal",
                      "#0000ff", "12pt", "Verdana", "normal", "normal"]:
            s = s.replace("^", value, 1)
        self.assertEqual(s, text("tqstyle.css.tpl"))


class InstallationNote(unittest.TestCase):
    def test_present(self):
        self.assertGreater(len(text("Installation.txt").strip()), 100)


def bmp_size(name):
    data = (PROGRAM_DIR / name).read_bytes()
    assert data[:2] == b"BM", name
    width, height, planes, bits, compression = struct.unpack("<iiHHI", data[18:34])
    return width, height, bits, compression


class DialogBitmaps(unittest.TestCase):
    def test_formats(self):
        for name in ["banner.template.bmp", "welcome.template.bmp", "banner.bmp", "welcome.bmp"]:
            with self.subTest(bitmap=name):
                _, height, bits, compression = bmp_size(name)
                self.assertEqual((bits, compression), (24, 0))
                self.assertGreater(height, 0)          # bottom-up rows

    def test_default_logos_fit_where_the_build_draws_them(self):
        bw, bh, _, _ = bmp_size("banner.template.bmp")
        lw, lh, _, _ = bmp_size("banner.bmp")
        self.assertLessEqual(440 + lw, bw)
        self.assertLessEqual(6 + lh, bh)
        ww, wh, _, _ = bmp_size("welcome.template.bmp")
        lw, lh, _, _ = bmp_size("welcome.bmp")
        self.assertLessEqual(2 + lw, ww)
        self.assertLessEqual(76 + lh, wh)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: check_program_files.py PROGRAM_DIR")
    PROGRAM_DIR = Path(sys.argv.pop(1))
    unittest.main(verbosity=1)
