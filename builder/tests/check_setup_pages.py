#!/usr/bin/python3
"""Checks the setup pages of an unpacked HTML-front-end distribution with an
independent HTML5 parser (html5lib).

    check_setup_pages.py UNPACKED_DIR LICENCE_TEXT README_TEXT

The start page TQSetup.htm must be a frameset whose frame "mainFrame" loads
the welcome page. From there the pages are followed by their Next links (and,
for the pages the front-end navigates to itself, by setup.ini's Vantrel
section); each must carry, as its first marker in the front-end's order, the
marker of its position and the fields the front-end fills there. Every href
and src of every page must name a file of the distribution (or the page
itself), and the licence and readme pages must show their texts as typed.
"""
import configparser
import sys
import unittest
from pathlib import Path

import html5lib

NS = "{http://www.w3.org/1999/xhtml}"
DIR = None
LICENCE = None
README = None

# The front-end's markers, in the order it tests them.
MARKERS = ["rwiCustomerInfo", "rwiLocation", "rwiGroup", "rwiLicense", "rwiCustom", "rwiType",
           "rwiInstall", "Finish"]

# Per page, in the order the user meets them: the marker and the fields
# (element id and tag, with the input type where it matters).
PAGES = [
    ("Welcome", None, {}),
    ("License", "rwiLicense", {"rbyes": "input:radio", "rbno": "input:radio"}),
    ("Readme", None, {}),
    ("CustInfo", "rwiCustomerInfo", {"CustomerName": "input:text", "CompanyName": "input:text",
                                     "Key": "input:text"}),
    ("Location", "rwiLocation", {"Browse": "button", "Location": "input:text"}),
    ("Group", "rwiGroup", {"CurrentUser": "input:radio", "AllUsers": "input:radio",
                           "ExistingGroups": "select", "Browse2": "button", "Group": "input:text"}),
    ("InstallType", "rwiType", {"Typical": "input:radio", "Custom": "input:radio",
                                "Complete": "input:radio"}),
    ("Custom", "rwiCustom", {"Features": "select", "Descriptions": "select"}),
    ("Install", "rwiInstall", {"Summary": "textarea"}),
    ("Progress", None, {"pbProgress": "applet"}),
    ("Finish", "Finish", {}),
]


def parse(name):
    with open(DIR / name, "rb") as f:
        return html5lib.parse(f, treebuilder="etree", namespaceHTMLElements=True)


def tag(element):
    return element.tag.replace(NS, "")


def by_id(doc):
    return {e.get("id"): e for e in doc.iter() if e.get("id")}


def kind(element):
    t = tag(element)
    if t == "input":
        return "input:" + (element.get("type") or "text").lower()
    return t


def anchors(doc):
    return [e for e in doc.iter(NS + "a")]


def next_target(doc):
    for a in anchors(doc):
        if "".join(a.itertext()).strip() == "Next >":
            return a.get("href")
    return None


def text_area(doc):
    areas = list(doc.iter(NS + "textarea"))
    assert len(areas) == 1, "one text area"
    return "".join(areas[0].itertext())


class SetupPages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        ini = configparser.ConfigParser()
        ini.optionxform = str
        ini.read(DIR / "setup.ini")
        cls.vantrel = ini["Vantrel"]
        cls.files = {p.name for p in DIR.iterdir()}
        start = parse("TQSetup.htm")
        cls.frames = list(start.iter(NS + "frame"))
        # The pages from the welcome page on by their Next links (the install
        # type page's skips the custom page); the front-end itself goes to the
        # custom, progress and finish pages that setup.ini names.
        welcome = [f.get("src") for f in cls.frames if f.get("name") == "mainFrame"]
        current = welcome[0] if welcome else None
        names = {}
        for page in ["Welcome", "License", "Readme", "CustInfo", "Location", "Group", "InstallType",
                     "Install"]:
            names[page] = current
            current = next_target(parse(current)) if current in cls.files else None
        for page in ["Custom", "Progress", "Finish"]:
            names[page] = cls.vantrel[page]
        cls.names = names

    def test_start_page_is_a_frameset_loading_the_welcome_page(self):
        start = parse("TQSetup.htm")
        self.assertEqual(len(list(start.iter(NS + "frameset"))), 1)
        for frame in self.frames:
            self.assertIn(frame.get("src"), self.files | {"about:blank"})
        main = [f for f in self.frames if f.get("name") == "mainFrame"]
        self.assertEqual(len(main), 1)
        self.assertEqual(main[0].get("src"), self.vantrel["Welcome"])
        self.assertIn(main[0].get("src"), self.files)

    def test_custom_and_install_pages_lead_back_to_the_install_type_page(self):
        custom = [a.get("href") for a in anchors(parse(self.names["Custom"]))]
        self.assertEqual(custom[:2], [self.names["InstallType"], self.names["Install"]])
        install = [a.get("href") for a in anchors(parse(self.names["Install"]))]
        self.assertEqual(install[0], self.names["InstallType"])

    def test_each_page_carries_its_marker_and_fields(self):
        for page, marker, fields in PAGES:
            with self.subTest(page=page):
                name = self.names[page]
                self.assertIn(name, self.files)
                ids = by_id(parse(name))
                found = [m for m in MARKERS if m in ids]
                self.assertEqual(found[:1], [marker] if marker else [])
                for element_id, wanted in fields.items():
                    self.assertIn(element_id, ids)
                    self.assertEqual(kind(ids[element_id]), wanted, element_id)
                if page not in ("Progress", "Finish"):
                    self.assertEqual(tag(ids["rwiCancel"]), "a")

    def test_every_href_and_src_names_a_file_of_the_distribution(self):
        for page, _, _ in PAGES:
            name = self.names[page]
            doc = parse(name)
            for e in doc.iter():
                for attr in ("href", "src"):
                    target = e.get(attr)
                    if target is None or target == "":
                        continue  # an empty href is the page itself (the Cancel link)
                    if target == "about:blank" and tag(e) == "frame":
                        continue  # the browser's own empty page
                    with self.subTest(page=name, target=target):
                        self.assertIn(target, self.files)
            links = [e.get("href") for e in doc.iter(NS + "link")]
            self.assertIn("tqstyle.css", links, name)

    def test_progress_applet_takes_the_colours(self):
        doc = parse(self.names["Progress"])
        applet = by_id(doc)["pbProgress"]
        self.assertIn(applet.get("code"), self.files)
        values = [p.get("value") for p in applet.iter(NS + "param")]
        self.assertEqual(len(values), 2)
        for v in values:
            self.assertTrue(v.isdigit(), v)

    def test_licence_and_readme_show_their_texts_as_typed(self):
        for page, text in (("License", LICENCE), ("Readme", README)):
            with self.subTest(page=page):
                shown = text_area(parse(self.names[page]))
                self.assertEqual(shown, text.replace("\r\n", "\n"))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    DIR = Path(sys.argv[1])
    LICENCE = Path(sys.argv[2]).read_bytes().decode("cp1252")
    README = Path(sys.argv[3]).read_bytes().decode("cp1252")
    unittest.main(argv=sys.argv[:1], verbosity=2)
