#!/usr/bin/env python3
"""Reads the version information and the manifest out of a Windows exe's resources, as
Explorer's Details tab and the loader see them, and checks them against the project's version:

  exe_resources.py program EXE VERSION     the game: version information and manifest
  exe_resources.py installer EXE VERSION   the installer or its uninstaller: version information

Prints what it read; exits 1 naming each value that is wrong or missing."""
import struct
import sys
import xml.etree.ElementTree as ET

RT_VERSION, RT_MANIFEST = 16, 24
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def resources(exe):
    """{(type id, name id): bytes} of the first language of each resource."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[:2] != b"MZ" or exe[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", exe, optional)[0] == 0x20B else 96)
    root_rva = struct.unpack_from("<I", exe, directories + 2 * 8)[0]
    table = [struct.unpack_from("<8xIIII", exe, optional + optional_size + 40 * i)
             for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in table:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"address {rva:#x} is in no section")

    root = offset(root_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<12xHH", exe, root + directory)
        for i in range(named + ids):
            yield struct.unpack_from("<II", exe, root + directory + 16 + 8 * i)

    found = {}
    for type_id, type_dir in entries(0):
        for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
            _, leaf = next(entries(name_dir & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", exe, root + leaf)
            found[(type_id, name_id)] = exe[offset(rva):offset(rva) + size]
    return found


def version_info(block):
    """The VERSIONINFO's strings, and its fixed file and product versions as "a.b.c.d"."""
    values = {}

    def walk(at, end):
        while at + 6 <= end:
            length, value_length, is_text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = block.index(b"\0\0", at + 6)
            key_end += (key_end - at) % 2  # a UTF-16 NUL starts at an even offset
            key = block[at + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            value_size = value_length * 2 if is_text else value_length
            if key == "VS_VERSION_INFO":
                fixed = struct.unpack_from("<IIIIII", block, value)
                if fixed[0] == 0xFEEF04BD:
                    for name, high, low in (("FILEVERSION", fixed[2], fixed[3]),
                                            ("PRODUCTVERSION", fixed[4], fixed[5])):
                        values[name] = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
            elif is_text and value_length:
                values[key] = block[value:value + value_size].decode("utf-16-le").rstrip("\0")
            walk((value + value_size + 3) & ~3, at + length)
            at = (at + length + 3) & ~3

    walk(0, len(block))
    return values


def manifest_settings(text):
    """{setting: text} of the manifest's windowsSettings, and "supportedOS" with the Ids."""
    root = ET.fromstring(text)
    settings = {el.tag.split("}")[1]: (el.text or "").strip()
                for el in root.iter() if el.tag.endswith(("}dpiAware", "}dpiAwareness",
                                                          "}activeCodePage"))}
    settings["supportedOS"] = " ".join(el.get("Id", "") for el in root.iter()
                                       if el.tag.endswith("}supportedOS"))
    return settings


def main():
    kind, path, version = sys.argv[1:4]
    with open(path, "rb") as f:
        found = resources(f.read())
    wrong = []

    def expect(what, got, want):
        print(f"{what}: {got!r}")
        if got != want:
            wrong.append(f"{what} is {got!r}, not {want!r}")

    info = version_info(found.get((RT_VERSION, 1), b""))
    expect("CompanyName", info.get("CompanyName"), "Bellwick Software")
    expect("ProductName", info.get("ProductName"), "Octavane")
    expect("ProductVersion", info.get("ProductVersion"), version)
    expect("PRODUCTVERSION", info.get("PRODUCTVERSION"), version + ".0")
    print(f"FileDescription: {info.get('FileDescription')!r}")
    if not info.get("FileDescription"):
        wrong.append("no FileDescription")
    if kind == "program":
        expect("FileVersion", info.get("FileVersion"), version)
        expect("FILEVERSION", info.get("FILEVERSION"), version + ".0")
        manifest = found.get((RT_MANIFEST, 1))
        settings = manifest_settings(manifest) if manifest else {}
        expect("dpiAwareness", settings.get("dpiAwareness"), "PerMonitorV2, PerMonitor")
        expect("dpiAware", settings.get("dpiAware"), "true/pm")
        expect("activeCodePage", settings.get("activeCodePage"), "UTF-8")
        expect("supportedOS", settings.get("supportedOS"), WINDOWS_10_AND_11)
    for line in wrong:
        print(f"exe_resources: {path}: {line}", file=sys.stderr)
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
