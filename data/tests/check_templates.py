#!/usr/bin/env python3
"""Checks the template databases in a program directory with msitools.

    check_templates.py PROGRAM_DIR TEMPLATE_SOURCE_DIR

The build copies template.tpl (install packages) or templatemsm.tpl (merge
modules) and rewrites it with SQL: it updates Property rows, inserts Binary,
CustomAction and InstallUISequence rows, re-creates the tables it owns and fills
the licence dialog's text control. These tests check that the templates hold
what that needs and that their user interface hangs together.
"""
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

PROGRAM_DIR = None
SOURCE_DIR = None

GUID = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")


def msiinfo(*args):
    return subprocess.run(["msiinfo", *args], check=True, capture_output=True,
                          text=True).stdout


def tables(db):
    return set(msiinfo("tables", str(db)).split())


def rows(db, table):
    """The rows of a table as dictionaries keyed by column name."""
    lines = msiinfo("export", str(db), table).replace("\r\n", "\n").split("\n")
    columns = lines[0].split("\t")
    result = []
    for line in lines[3:]:
        if line == "":
            continue
        fields = line.split("\t")
        fields += [""] * (len(columns) - len(fields))
        result.append(dict(zip(columns, fields)))
    return result


def summary(db):
    info = {}
    for line in msiinfo("suminfo", str(db)).splitlines():
        key, _, value = line.partition(": ")
        info[key.strip()] = value.strip()
    return info


# Actions the installer runs itself; every other sequence entry must be a
# custom action or a dialog.
STANDARD_ACTIONS = {
    "CostInitialize", "FileCost", "CostFinalize", "MigrateFeatureStates", "ExecuteAction",
    "InstallValidate", "InstallInitialize", "ProcessComponents", "UnpublishFeatures",
    "SelfUnregModules", "UnregisterFonts", "RemoveRegistryValues", "RemoveShortcuts",
    "RemoveEnvironmentStrings", "RemoveFiles", "InstallFiles", "CreateShortcuts",
    "WriteRegistryValues", "WriteEnvironmentStrings", "RegisterFonts", "SelfRegModules",
    "RegisterUser", "RegisterProduct", "PublishFeatures", "PublishProduct", "InstallFinalize",
}

# What a package needs to install files, registry values, shortcuts, environment
# strings and fonts, to register modules and to be removed again.
EXECUTE_ACTIONS = [
    "CostInitialize", "FileCost", "CostFinalize", "InstallValidate", "InstallInitialize",
    "ProcessComponents", "UnpublishFeatures", "SelfUnregModules", "UnregisterFonts",
    "RemoveRegistryValues", "RemoveShortcuts", "RemoveEnvironmentStrings", "RemoveFiles",
    "InstallFiles", "CreateShortcuts", "WriteRegistryValues", "WriteEnvironmentStrings",
    "RegisterFonts", "SelfRegModules", "RegisterUser", "RegisterProduct", "PublishFeatures",
    "PublishProduct", "InstallFinalize",
]

# Each pair: the first action must run before the second.
EXECUTE_ORDER = [
    ("CostInitialize", "FileCost"), ("FileCost", "CostFinalize"),
    ("CostFinalize", "InstallValidate"), ("InstallValidate", "InstallInitialize"),
    ("InstallInitialize", "ProcessComponents"), ("ProcessComponents", "RemoveFiles"),
    ("SelfUnregModules", "RemoveFiles"), ("UnregisterFonts", "RemoveFiles"),
    ("RemoveFiles", "InstallFiles"), ("InstallFiles", "CreateShortcuts"),
    ("InstallFiles", "RegisterFonts"), ("InstallFiles", "SelfRegModules"),
    ("RemoveShortcuts", "CreateShortcuts"), ("RemoveRegistryValues", "WriteRegistryValues"),
    ("RemoveEnvironmentStrings", "WriteEnvironmentStrings"),
    ("SelfRegModules", "RegisterProduct"), ("RegisterProduct", "PublishFeatures"),
    ("PublishFeatures", "PublishProduct"), ("PublishProduct", "InstallFinalize"),
]


def sequence(db, table):
    return {r["Action"]: (r["Condition"], int(r["Sequence"])) for r in rows(db, table)}


class InstallTemplate(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.db = PROGRAM_DIR / "template.tpl"
        cls.tables = tables(cls.db)
        cls.props = {r["Property"]: r["Value"] for r in rows(cls.db, "Property")}

    def test_holds_the_tables_the_build_updates_and_queries(self):
        for t in ["Property", "Binary", "CustomAction", "InstallUISequence",
                  "InstallExecuteSequence", "Directory", "Dialog", "Control", "ControlEvent",
                  "ControlCondition", "EventMapping", "RadioButton", "TextStyle", "UIText"]:
            with self.subTest(table=t):
                self.assertIn(t, self.tables)

    def test_property_rows_the_build_updates(self):
        for name in ["SetGroupPath", "Manufacturer", "ProductCode", "ProductName",
                     "ProductVersion", "ARPHELPLINK", "ARPURLINFOABOUT", "VERCOMP"]:
            with self.subTest(property=name):
                self.assertIn(name, self.props)
        self.assertRegex(self.props["ProductCode"], GUID)
        for name in ["Manufacturer", "ProductName", "ProductVersion"]:
            with self.subTest(property=name):
                self.assertNotEqual(self.props[name], "")

    def test_fixed_property_values(self):
        expected = {"SetGroupPath": "tqsetgroup.exe", "MSIRUN": "1", "INSTALLLEVEL": "4",
                    "ProductLanguage": "1033"}
        for name, value in expected.items():
            with self.subTest(property=name):
                self.assertEqual(self.props.get(name), value)

    def test_no_allusers_row(self):
        # The build inserts ALLUSERS for per-machine packages; a template row would
        # make that insert fail and every per-user package per-machine.
        self.assertNotIn("ALLUSERS", self.props)

    def test_no_upgrade_code(self):
        # The build writes no UpgradeCode, so a template one would be shared by
        # every product built from it.
        self.assertNotIn("UpgradeCode", self.props)

    def test_summary_information(self):
        info = summary(self.db)
        self.assertEqual(info.get("Title"), "Installation Database")
        self.assertEqual(info.get("Template"), "Intel;1033")
        self.assertRegex(info.get("Revision number (UUID)", ""), GUID)
        self.assertEqual(info.get("Source", "").split()[0], "2")   # compressed files
        self.assertEqual(info.get("Author"), "Tarnquill")

    def test_directory_root_and_group(self):
        dirs = {r["Directory"]: r for r in rows(self.db, "Directory")}
        self.assertEqual(dirs["TARGETDIR"]["Directory_Parent"], "")
        self.assertEqual(dirs["TARGETDIR"]["DefaultDir"], "SourceDir")
        self.assertIn("GROUP", dirs)
        self.assertEqual(dirs["GROUP"]["Directory_Parent"], "ProgramMenuFolder")

    def test_binary_holds_no_bitmap_rows_and_no_streams(self):
        # The build deletes and inserts "bannrbmp" and "dlgbmp" and stores
        # "primary.cab"; a name that already exists would keep its old bytes.
        names = {r["Name"] for r in rows(self.db, "Binary")}
        self.assertFalse(names & {"bannrbmp", "dlgbmp"})
        self.assertNotIn("primary.cab", msiinfo("streams", str(self.db)).split())

    def test_licence_text_control(self):
        controls = {(r["Dialog_"], r["Control"]): r for r in rows(self.db, "Control")}
        row = controls.get(("LicenseAgreementDlg", "AgreementText"))
        self.assertIsNotNone(row)
        self.assertEqual(row["Type"], "ScrollableText")
        self.assertTrue(row["Text"].startswith("{\\rtf1"))

    def test_execute_sequence_installs_and_removes(self):
        seq = sequence(self.db, "InstallExecuteSequence")
        for action in EXECUTE_ACTIONS:
            with self.subTest(action=action):
                self.assertIn(action, seq)
        for first, second in EXECUTE_ORDER:
            with self.subTest(order=(first, second)):
                self.assertLess(seq[first][1], seq[second][1])

    def test_working_directory_actions_fit_between_costing_and_execution(self):
        # The shortcut step sequences its WORKDIR actions at 1250 + tab position
        # (up to 100 tabs): after the directories are resolved, before the
        # installation runs.
        seq = sequence(self.db, "InstallUISequence")
        self.assertLess(seq["CostFinalize"][1], 1250)
        self.assertGreater(seq["ExecuteAction"][1], 1350)
        taken = {s for _, s in seq.values()}
        self.assertFalse(taken & set(range(1250, 1351)))

    def test_defaults_are_set_before_costing(self):
        # TARGETDIR and GROUP get their defaults unless the command line set them;
        # a feature list passed as ADDDEFAULT (the front-ends' way) is also passed
        # on as ADDLOCAL, which every installer honours alike for features that
        # install locally by default.
        actions = {r["Action"]: r for r in rows(self.db, "CustomAction")}
        expected = [("SetTargetDir", "TARGETDIR", "NOT TARGETDIR"),
                    ("SetGroupDir", "GROUP", "NOT GROUP"),
                    ("SetAddLocal", "ADDLOCAL", "ADDDEFAULT AND NOT ADDLOCAL")]
        self.assertEqual(actions["SetAddLocal"]["Target"], "[ADDDEFAULT]")
        for table in ["InstallUISequence", "InstallExecuteSequence"]:
            seq = sequence(self.db, table)
            for name, target, condition in expected:
                with self.subTest(table=table, action=name):
                    self.assertEqual(actions[name]["Type"], "51")
                    self.assertEqual(actions[name]["Source"], target)
                    self.assertEqual(seq[name][0], condition)
                    self.assertLess(seq[name][1], seq["CostFinalize"][1])

    def test_every_sequenced_action_exists(self):
        dialogs = {r["Dialog"] for r in rows(self.db, "Dialog")}
        custom = {r["Action"] for r in rows(self.db, "CustomAction")}
        for table in ["InstallUISequence", "InstallExecuteSequence"]:
            for action in sequence(self.db, table):
                with self.subTest(table=table, action=action):
                    self.assertIn(action, STANDARD_ACTIONS | dialogs | custom)

    def test_exit_dialogs(self):
        seq = sequence(self.db, "InstallUISequence")
        by_number = {s: a for a, (_, s) in seq.items()}
        self.assertEqual(by_number.get(-1), "ExitDialog")
        self.assertEqual(by_number.get(-2), "UserExit")
        self.assertEqual(by_number.get(-3), "FatalError")


class InstallTemplateUserInterface(unittest.TestCase):
    """The dialogs refer only to things that exist."""

    @classmethod
    def setUpClass(cls):
        db = PROGRAM_DIR / "template.tpl"
        cls.dialogs = {r["Dialog"]: r for r in rows(db, "Dialog")}
        cls.controls = {(r["Dialog_"], r["Control"]): r for r in rows(db, "Control")}
        cls.events = rows(db, "ControlEvent")
        cls.conditions = rows(db, "ControlCondition")
        cls.mappings = rows(db, "EventMapping")
        cls.styles = {r["TextStyle"] for r in rows(db, "TextStyle")}
        cls.radios = {r["Property"] for r in rows(db, "RadioButton")}
        cls.props = {r["Property"]: r["Value"] for r in rows(db, "Property")}

    def test_dialog_first_default_and_cancel_controls_exist(self):
        for name, d in self.dialogs.items():
            for column in ["Control_First", "Control_Default", "Control_Cancel"]:
                if d[column]:
                    with self.subTest(dialog=name, column=column):
                        self.assertIn((name, d[column]), self.controls)

    def test_tab_order_stays_in_its_dialog(self):
        for (dialog, control), c in self.controls.items():
            if c["Control_Next"]:
                with self.subTest(dialog=dialog, control=control):
                    self.assertIn((dialog, c["Control_Next"]), self.controls)

    def test_events_name_existing_controls_and_dialogs(self):
        for e in self.events:
            with self.subTest(event=e):
                self.assertIn((e["Dialog_"], e["Control_"]), self.controls)
                if e["Event"] in ("NewDialog", "SpawnDialog"):
                    self.assertIn(e["Argument"], self.dialogs)
        for r in self.conditions + self.mappings:
            with self.subTest(row=r):
                self.assertIn((r["Dialog_"], r["Control_"]), self.controls)

    def test_every_dialog_is_reachable(self):
        seq_dialogs = {"WelcomeDlg", "MaintenanceDlg", "ProgressDlg", "ExitDialog", "UserExit",
                       "FatalError"}
        opened = {e["Argument"] for e in self.events if e["Event"] in ("NewDialog", "SpawnDialog")}
        reachable = seq_dialogs | opened | {self.props["ErrorDialog"]}
        self.assertEqual(set(self.dialogs), reachable)

    def test_wizard_reaches_the_licence_dialog_and_ends_there(self):
        nxt = [e for e in self.events if (e["Dialog_"], e["Control_"]) == ("WelcomeDlg", "Next")]
        self.assertEqual([(e["Event"], e["Argument"]) for e in nxt],
                         [("NewDialog", "LicenseAgreementDlg")])
        install = [e for e in self.events
                   if (e["Dialog_"], e["Control_"]) == ("LicenseAgreementDlg", "Install")]
        self.assertEqual([(e["Event"], e["Argument"]) for e in install], [("EndDialog", "Return")])
        self.assertIn("LicenseAccepted", install[0]["Condition"])

    def test_bitmaps_name_the_rows_the_build_inserts(self):
        for (dialog, control), c in self.controls.items():
            if c["Type"] == "Bitmap":
                with self.subTest(dialog=dialog, control=control):
                    self.assertIn(c["Text"], ("bannrbmp", "dlgbmp"))

    def test_text_styles_exist(self):
        self.assertIn(self.props["DefaultUIFont"], self.styles)
        for (dialog, control), c in self.controls.items():
            if c["Text"].startswith("{\\rtf"):
                continue                       # rich text, not a style reference
            for style in re.findall(r"\{\\([A-Za-z0-9_]+)\}", c["Text"]):
                with self.subTest(dialog=dialog, control=control, style=style):
                    self.assertIn(style, self.styles)

    def test_radio_groups_have_buttons(self):
        for (dialog, control), c in self.controls.items():
            if c["Type"] == "RadioButtonGroup":
                with self.subTest(dialog=dialog, control=control):
                    self.assertIn(c["Property"], self.radios)

    def test_error_dialog(self):
        name = self.props["ErrorDialog"]
        self.assertTrue(int(self.dialogs[name]["Attributes"]) & 65536)
        for control in ["ErrorText", "A", "C", "I", "N", "O", "R", "Y"]:
            with self.subTest(control=control):
                self.assertIn((name, control), self.controls)

    def test_progress_dialog_follows_progress(self):
        events = {(m["Control_"], m["Event"]) for m in self.mappings if m["Dialog_"] == "ProgressDlg"}
        self.assertIn(("ProgressBar", "SetProgress"), events)
        self.assertIn(("ActionText", "ActionText"), events)


class MergeModuleTemplate(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.db = PROGRAM_DIR / "templatemsm.tpl"
        cls.tables = tables(cls.db)

    def test_tables(self):
        for t in ["Property", "Binary", "Directory", "ModuleSignature", "ModuleComponents",
                  "ModuleDependency", "ModuleExclusion", "ModuleInstallExecuteSequence",
                  "ModuleInstallUISequence"]:
            with self.subTest(table=t):
                self.assertIn(t, self.tables)

    def test_property_table_is_empty(self):
        # Module properties are merged into the target package; product rows
        # there would clash with the package's own.
        self.assertEqual(rows(self.db, "Property"), [])

    def test_binary_holds_no_bitmap_rows(self):
        self.assertEqual(rows(self.db, "Binary"), [])

    def test_module_sequence_holds_the_table_actions(self):
        seq = {r["Action"]: r for r in rows(self.db, "ModuleInstallExecuteSequence")}
        for action in ["InstallFiles", "RemoveFiles", "WriteRegistryValues",
                       "RemoveRegistryValues", "CreateShortcuts", "RemoveShortcuts",
                       "WriteEnvironmentStrings", "RemoveEnvironmentStrings", "SelfRegModules",
                       "SelfUnregModules", "RegisterFonts", "UnregisterFonts"]:
            with self.subTest(action=action):
                self.assertIn(action, seq)
                self.assertNotEqual(seq[action]["Sequence"], "")

    def test_summary_information(self):
        info = summary(self.db)
        self.assertEqual(info.get("Title"), "Merge Module")
        self.assertEqual(info.get("Template"), "Intel;1033")

    def test_root_directory(self):
        dirs = {r["Directory"]: r for r in rows(self.db, "Directory")}
        self.assertEqual(dirs["TARGETDIR"]["DefaultDir"], "SourceDir")


class TemplatesMatchTheirSources(unittest.TestCase):
    """Each database holds exactly the rows of its text tables."""

    def check(self, db, source_dir):
        with tempfile.TemporaryDirectory() as dump:
            subprocess.run(["msidump", "-d", dump, str(db)], check=True, capture_output=True)
            for source in sorted(source_dir.glob("*.idt")):
                if source.name.startswith("_"):
                    continue          # summary and code page are checked above
                with self.subTest(table=source.stem):
                    def table_rows(path):
                        lines = path.read_text(encoding="latin-1").replace("\r\n", "\n").split("\n")
                        return lines[:3], sorted(l for l in lines[3:] if l != "")
                    self.assertEqual(table_rows(Path(dump) / source.name), table_rows(source))

    def test_install_template(self):
        self.check(PROGRAM_DIR / "template.tpl", SOURCE_DIR / "template")

    def test_merge_module_template(self):
        self.check(PROGRAM_DIR / "templatemsm.tpl", SOURCE_DIR / "templatemsm")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: check_templates.py PROGRAM_DIR TEMPLATE_SOURCE_DIR")
    PROGRAM_DIR = Path(sys.argv.pop(1))
    SOURCE_DIR = Path(sys.argv.pop(1))
    unittest.main(verbosity=1)
