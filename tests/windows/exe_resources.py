#!/usr/bin/env python3
"""Checks a Windows exe's version information and, for the game, its manifest, read back by
windres as a resource script; exits 1 naming each value that is wrong or missing.

  exe_resources.py program|installer EXE VERSION"""
import re
import shutil
import subprocess
import sys

WINDRES = "x86_64-w64-mingw32-windres"
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def main():
    kind, path, version = sys.argv[1:4]
    if not shutil.which(WINDRES):
        sys.exit(f"exe_resources: {WINDRES} is missing (binutils-mingw-w64-x86-64)")
    script = subprocess.run([WINDRES, "-i", path, "-O", "rc"], capture_output=True, text=True,
                            check=True).stdout
    info = dict(re.findall(r'^\s*VALUE "(\w+)", "([^"]*)"$', script, re.M))
    for fixed in ("FILEVERSION", "PRODUCTVERSION"):
        numbers = re.search(rf"^ {fixed} (\d+), (\d+), (\d+), (\d+)$", script, re.M)
        info[fixed] = ".".join(numbers.groups()) if numbers else None
    # The manifest's text, its lines quoted as C strings with "" for a quote.
    manifest = re.search(r"^1 24 /\* RT_MANIFEST \*/\nBEGIN\n(.*?)\nEND$", script, re.M | re.S)
    text = "".join(re.findall(r'^\s*"(.*)"$', manifest[1] if manifest else "", re.M))
    text = text.replace('""', '"')
    wrong = []

    def expect(what, got, want=None):
        print(f"{what}: {got!r}")
        if want is None and not got:
            wrong.append(f"no {what}")
        elif want is not None and got != want:
            wrong.append(f"{what} is {got!r}, not {want!r}")

    expect("CompanyName", info.get("CompanyName"), "Bellwick Software")
    expect("ProductName", info.get("ProductName"), "Octavane")
    expect("ProductVersion", info.get("ProductVersion"), version)
    expect("PRODUCTVERSION", info.get("PRODUCTVERSION"), version + ".0")
    expect("FileDescription", info.get("FileDescription"))
    if kind == "program":
        expect("FileVersion", info.get("FileVersion"), version)
        expect("FILEVERSION", info.get("FILEVERSION"), version + ".0")
        for setting, want in (("dpiAwareness", "PerMonitorV2, PerMonitor"), ("dpiAware", "true/pm"),
                              ("activeCodePage", "UTF-8")):
            found = re.search(rf"<{setting}\b[^>]*>\s*([^<]*?)\s*</{setting}>", text)
            expect(setting, found and found[1], want)
        expect("supportedOS", " ".join(re.findall(r'<supportedOS Id="([^"]*)"', text)),
               WINDOWS_10_AND_11)
    for line in wrong:
        print(f"exe_resources: {path}: {line}", file=sys.stderr)
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
