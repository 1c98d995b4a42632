"""The Audio / Grafik and Netzwerk / Internet panels of the real Velkaro.exe under Wine: what
they show for Wine's screen, registry, WMI, file associations and port mapping, and that the
probe document is never left behind."""

import re
import unittest

from velkaro_e2e import INSTALL_DIR, MAIN, VelkaroCase

SYSTEM = r"HKLM\HARDWARE\DESCRIPTION\System"
PORTS = r"HKLM\Software\Wine\Ports"
CARDS = r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\NetworkCards"
PROBE = INSTALL_DIR + r"\test~12345.html"
# The diagnostic tool does not run: the program reads the dump the test leaves.
NO_DXDIAG = "mscoree,mshtml=;dxdiag.exe=d"
# The line as Wine's dxdiag writes it.
DIRECTX_LINE = '    DirectX Version: = "DirectX 9.0c (4.09.0000.0904)'
READY, NOT_READY = "Port Bereit.", "Port nicht vorhanden oder nicht bereit."
PORT_FIELDS = {"com1": "Text1(30)", "com2": "Text1(31)", "com3": "Text1(35)", "lpt1": "Text1(32)"}


def fill(app, label, panel, last=None):
    """Clicks a menu label and returns the value fields once its fill has ended: the window
    answers while a fill waits for the management service, so a panel that asks it is filled
    once the field it writes last from the service (`last`) has come."""
    app.click(label)
    app.wait_control(panel, "visible", 10)
    if last:
        app.wait_control(last, "text_not", 30, "N/A")
    assert app.probe.sync(MAIN, 30)["replied"]
    return {c["name"]: c["text"] for c in app.probe.controls(MAIN) if c["name"].startswith("Text1(")}


def register_html(app):
    # Without Gecko (the harness's default) Wine has no .html association.
    app.prefix.run("reg", "add", r"HKCR\.html", "/ve", "/d", "htmlfile", "/f")


def wmic(app, cls, *props):
    """Rows of {property: text or None} as Wine's wmic lists them, in the service's order."""
    _, out = app.prefix.run("wmic", "path", cls, "get", ",".join(props))
    lines = out.decode("utf-16-le", "replace").lstrip("\ufeff").splitlines()
    header, rows = lines[0], [line for line in lines[1:]]
    starts = [(m.group(), m.start()) for m in re.finditer(r"\S+", header)]
    result = []
    for line in rows:
        if not line.strip():
            continue
        row = {}
        for i, (name, start) in enumerate(starts):
            end = starts[i + 1][1] if i + 1 < len(starts) else None
            cell = line[start:end].strip()
            row[name] = cell or None
        result.append(row)
    return result


def joined(cell):
    """A wmic array cell {"a", "b"} joined by one blank; None for a null."""
    return None if cell is None else " ".join(re.findall(r'"([^"]*)"', cell))


class Panels(VelkaroCase):
    """One start: both panels filled once, the network panel a second time."""

    @classmethod
    def prepare(cls, app):
        app.probe.setenv("WINEDLLOVERRIDES", NO_DXDIAG)
        app.prefix.unix_path(INSTALL_DIR + r"\dx.txt").write_bytes(
            f"System Information\r\n{DIRECTX_LINE}\r\n".encode("ascii"))
        register_html(app)
        cls.com2 = app.prefix.drive_c / "com2-device"
        cls.com2.write_bytes(b"")
        app.prefix.reg_add(PORTS, "COM2", "REG_SZ", str(cls.com2))
        app.restart_server()
        app.prefix.reg_add(SYSTEM, "VideoBiosDate", "REG_SZ", "04/17/03")
        app.prefix.reg_add(SYSTEM, "VideoBiosVersion", "REG_MULTI_SZ", r"Erste Zeile\0Zweite")

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        app = cls.app
        cls.grafik = fill(app, "Label3", "P1(1)", last="Text1(20)")
        cls.netz = fill(app, "Label4", "P1(2)", last="Text1(34)")
        cls.probe_after_first = app.file_bytes(PROBE)
        fill(app, "Label10", "P1(8)")
        cls.netz_again = fill(app, "Label4", "P1(2)", last="Text1(34)")

    def test_grafik_screen_directx_and_preset_bios_values(self):
        self.assertEqual(self.grafik["Text1(25)"], "1280 x 1024")  # the Xvfb screen
        self.assertEqual(self.grafik["Text1(23)"], DIRECTX_LINE.split(":", 1)[1])
        self.assertEqual(self.grafik["Text1(17)"], "04/17/03")
        self.assertEqual(self.grafik["Text1(26)"], "Erste Zeile")  # the first string only
        self.assertEqual(self.grafik["Text1(18)"], "N/A")  # Wine registers no media player

    def test_grafik_wmi_values_as_wine_lists_them(self):
        video = wmic(self.app, "Win32_VideoController", "VideoProcessor")
        sound = wmic(self.app, "Win32_SoundDevice", "DeviceID", "PNPDeviceID")
        self.assertEqual(self.grafik["Text1(27)"], video[-1]["VideoProcessor"])
        self.assertEqual(self.grafik["Text1(21)"], sound[0]["DeviceID"])
        self.assertEqual(self.grafik["Text1(20)"], sound[0]["PNPDeviceID"])
        # Wine has no colour count, caption or MPU-401 address: those fields keep their text.
        for field in ("Text1(24)", "Text1(22)", "Text1(19)"):
            self.assertEqual(self.grafik[field], "N/A", field)

    def test_netzwerk_browser_mail_and_card(self):
        self.assertEqual(self.netz["Text1(33)"], "Unbekannter Browser")  # winebrowser.exe
        self.assertEqual(self.netz["Text1(36)"], "Native Mail Client")
        cards = [self.app.reg_get(f"{CARDS}\\{k}", "Description") for k in range(9)]
        first = next((c["value"] for c in cards if c["found"] and c["value"]), "N/A")
        self.assertEqual(self.netz["Text1(14)"], first)

    def test_netzwerk_adapters_as_wine_lists_them(self):
        expected = {"Text1(34)": "N/A", "Text1(15)": "N/A", "Text1(16)": "N/A",
                    "Text1(28)": "N/A"}
        rows = wmic(self.app, "Win32_NetworkAdapterConfiguration", "IPEnabled", "MACAddress",
                    "IPAddress", "IPSubnet", "DefaultIPGateway")
        for row in rows:
            if row["IPEnabled"] not in ("-1", "TRUE", "True"):
                continue
            for field, name, value in [("Text1(34)", "MACAddress", row["MACAddress"]),
                                       ("Text1(15)", "IPAddress", joined(row["IPAddress"])),
                                       ("Text1(16)", "IPSubnet", joined(row["IPSubnet"])),
                                       ("Text1(28)", "DefaultIPGateway",
                                        joined(row["DefaultIPGateway"]))]:
                if value is not None:
                    expected[field] = value
        self.assertNotEqual(expected["Text1(15)"], "N/A", "Wine lists no IP address")
        for field, value in expected.items():
            self.assertEqual(self.netz[field], value, field)
        self.assertEqual(self.netz["Text1(29)"], "N/A")  # Wine has no WINS server

    def test_ports_as_wine_maps_them_and_each_is_closed_again(self):
        dosdevices = self.app.prefix.path / "dosdevices"
        for name, field in PORT_FIELDS.items():
            ready = (dosdevices / name).exists()
            for shown in (self.netz, self.netz_again):
                self.assertEqual(shown[field], READY if ready else NOT_READY, name)
        # COM2 is mapped to a file: opened exclusively twice, so the first handle was closed.
        self.assertEqual(self.netz_again["Text1(31)"], READY)
        self.assertEqual(self.com2.read_bytes(), b"")  # nothing was written

    def test_the_probe_document_is_gone_after_each_fill(self):
        self.assertIsNone(self.probe_after_first)
        self.assertIsNone(self.app.file_bytes(PROBE))
        self.assertEqual(self.netz_again["Text1(33)"], "Unbekannter Browser")


if __name__ == "__main__":
    unittest.main()
