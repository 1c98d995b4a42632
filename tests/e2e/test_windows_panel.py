"""The Windows panel of the real Velkaro.exe under Wine: what it shows for Wine's version
settings, the registry, the user, WMI and the folders, and that a click fills it again."""

import unittest

from velkaro_e2e import VelkaroCase

CURRENT_VERSION = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"


class PanelCase(VelkaroCase):
    """Starts the program and keeps the Windows panel's fields as they stand after start-up."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.fields = {c["name"]: c["text"] for c in cls.app.probe.controls("VelkaroForm1")
                      if c["name"].startswith("Text1(")}


class DefaultWine(PanelCase):
    OWNER = "Erika Mustermann"
    ORGANISATION = "Korvandt Werkstatt GmbH"

    @classmethod
    def prepare(cls, app):
        app.prefix.reg_add(CURRENT_VERSION, "RegisteredOwner", "REG_SZ", cls.OWNER)
        app.prefix.reg_add(CURRENT_VERSION, "RegisteredOrganization", "REG_SZ", cls.ORGANISATION)

    def registry(self, name):
        return self.app.reg_get(CURRENT_VERSION, name)

    def test_operating_system_of_the_default_prefix_is_an_unknown_version(self):
        # Wine's default is Windows 7 (6.1): major version 6 is beyond the table.
        self.assertEqual(self.fields["Text1(0)"], "Unbekannte Version")

    def test_version_fields_show_the_registry_values(self):
        for field, name in [("Text1(1)", "CSDVersion"), ("Text1(2)", "CurrentBuildNumber"),
                            ("Text1(5)", "ProductId"), ("Text1(11)", "CurrentVersion")]:
            with self.subTest(name=name):
                value = self.registry(name)
                self.assertTrue(value["found"])
                self.assertNotEqual(value["value"], "")
                self.assertEqual(self.fields[field], value["value"])
        self.assertEqual(self.fields["Text1(11)"], "6.1")

    def test_owner_and_organisation_show_as_preset(self):
        self.assertEqual(self.fields["Text1(6)"], self.OWNER)
        self.assertEqual(self.fields["Text1(7)"], self.ORGANISATION)

    def test_source_path_is_empty_because_wine_has_none(self):
        self.assertFalse(self.registry("SourcePath")["found"])
        self.assertEqual(self.fields["Text1(13)"], "")

    def test_wmi_is_installed(self):
        self.assertEqual(self.fields["Text1(9)"], "WMI ist installiert!")
        # Wine cannot bind the identification object: the version keeps its design text.
        self.assertRegex(self.fields["Text1(10)"], r"^(N/A|\d+(\.\d+)+)$")

    def test_logged_on_user_is_the_name_wine_reports_as_administrator(self):
        _, out = self.app.prefix.run("cmd", "/c", "echo %USERNAME%")
        user = out.decode("ascii", "replace").strip()
        self.assertRegex(user, r"^\S+$")
        self.assertEqual(self.fields["Text1(8)"], f"{user} (Administrator)")

    def test_folders_end_in_one_backslash(self):
        self.assertEqual(self.fields["Text1(3)"].lower(), "c:\\windows\\")
        self.assertEqual(self.fields["Text1(12)"].lower(), "c:\\windows\\system32\\")

    def test_clicking_windows_again_writes_the_fields_again(self):
        changed = "Neue Organisation AG"
        self.app.probe.reg_set(CURRENT_VERSION, "RegisteredOrganization", "REG_SZ", changed)
        self.addCleanup(self.app.probe.reg_set, CURRENT_VERSION, "RegisteredOrganization",
                        "REG_SZ", self.ORGANISATION)
        self.assertEqual(self.app.text("Text1(7)"), self.ORGANISATION)  # nothing refreshes alone
        self.app.click("Label3")
        self.app.wait_control("P1(1)", "visible", 10)
        self.app.click("Label2")
        self.app.wait_control("Text1(7)", "text", 10, changed)
        self.assertTrue(self.app.control("P1(0)")["visible"])
        self.assertEqual(self.app.text("Text1(0)"), "Unbekannte Version")


class Windows2003(PanelCase):
    windows_version = "win2003"

    def test_shows_windows_2003_server(self):
        self.assertEqual(self.fields["Text1(0)"], "Windows 2003 Server")
        self.assertEqual(self.fields["Text1(11)"], "5.2")
        self.assertEqual(self.fields["Text1(2)"], "3790")


class WindowsXp64(PanelCase):
    windows_version = "winxp64"

    def test_shows_a_new_unknown_version(self):
        # 5.2 as a workstation is not in the table.
        self.assertEqual(self.fields["Text1(0)"], "Neue, unbekannte Windows-Version")
        self.assertEqual(self.fields["Text1(11)"], "5.2")


if __name__ == "__main__":
    unittest.main()
