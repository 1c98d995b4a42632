"""The report c:\\SystemInfo.txt expected from tests/data/report_sections.txt and the fields the
program shows, and the report file's lines."""

import re

from .wine import REPO

# Fields the status line rewrites four times a second: the file holds an earlier value.
LIVE = {"Text1(4)", "Text5(8)"} | {f"Text1({j})" for j in range(52, 59)}


def sections():
    """[(check, header, [("field", caption, tabs, control) or ("drive", caption, tabs)])]"""
    result = []
    for line in (REPO / "tests" / "data" / "report_sections.txt").read_text("utf-8").splitlines():
        kind, *fields = line.split("|")
        if kind == "section":
            result.append((int(fields[0]), fields[1], []))
        elif kind in ("field", "drive"):
            result[-1][2].append((kind, fields[0], int(fields[1]), *fields[2:]))
    return result


def expected(controls, checks=range(1, 9)):
    """[(line, live)] of the report of the ticked sections, from the fields read back: a live
    line is its caption and TABs, followed by any text."""
    lines = []
    for check, header, records in sections():
        if check not in checks:
            continue
        lines += [("", False), (header, False)]
        drives = [r[1:] for r in records if r[0] == "drive"]
        if drives:  # the drive lists show each line's caption and value
            lines.append(("", False))
            for items in (controls[f"List1({i})"]["items"] for i in range(9)):
                lines += [(caption + "\t" * tabs + item[len(caption):], False)
                          for (caption, tabs), item in zip(drives, items)]
                lines += [("", False)] if items else []
        for _, caption, tabs, name in (r for r in records if r[0] == "field"):
            lines.append((caption + "\t" * tabs + ("" if name in LIVE else controls[name]["text"]),
                          name in LIVE))
    return lines


def lines_of(data):
    """The report's lines; it must be Windows-1252 text with CR LF line ends and no BOM."""
    assert data is not None, "no report"
    assert not data.startswith(b"\xef\xbb\xbf"), "a byte-order mark"
    text = data.decode("cp1252")
    assert text.count("\n") == text.count("\r\n") and text.endswith("\r\n"), "not CR LF lines"
    return text.split("\r\n")[:-1]


def mismatches(lines, expected_lines):
    """The lines that differ from what is expected (a live line: by its start alone)."""
    if len(lines) != len(expected_lines):
        return [f"{len(lines)} lines, expected {len(expected_lines)}: {lines}"]
    return [f"line {n}: {line!r}, expected {want!r}"
            for n, (line, (want, live)) in enumerate(zip(lines, expected_lines), 1)
            if not (re.fullmatch(re.escape(want) + "[^\t]+", line) if live else line == want)]
