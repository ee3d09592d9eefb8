#!/usr/bin/env python3
"""check-zip.py ZIP ARCH VERSION: a release zip holds exactly the files a user needs, for the
right processor, all of them marked with VERSION.

- the names, flat: the program, the hook library, the device tool (both tools for x86: the
  32-bit program runs dc64.exe on 64-bit Windows), the tray icon, the version file, the read-me;
- every executable and library is built for ARCH and carries VERSION in its version
  information (the numbers Explorer compares and the texts it shows);
- version.cfg gives the program VERSION for its title;
- the Korean read-me's name is flagged as UTF-8, and the read-me is UTF-8 with a byte order
  mark and CR LF line ends (what Notepad needs) and names VERSION.
Prints one line per fault and exits 1 if there was any.
"""
import re
import struct
import sys
import zipfile

README = "읽어보기.txt"
COMMON = {"Tastron.exe", "trellin_192.dll", "TrayIcon.Ico", "version.cfg", README}
TOOLS = {"x86": {"dc32.exe": 0x14C, "dc64.exe": 0x8664}, "x64": {"dc64.exe": 0x8664}}
MACHINE = {"x86": 0x14C, "x64": 0x8664}
FIXED_FILE_INFO_SIGNATURE = b"\xbd\x04\xef\xfe"


def machine(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe + 4)[0]


def version_faults(name, data, version):
    faults = []
    numbers = [int(part) for part in version.split(".")]
    at = data.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        return [f"{name}: no version information"]
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", data, at + 8)
    expected = ((numbers[0] << 16) | numbers[1], numbers[2] << 16)
    if (file_ms, file_ls) != expected or (product_ms, product_ls) != expected:
        faults.append(f"{name}: version numbers {file_ms >> 16}.{file_ms & 0xFFFF}."
                      f"{file_ls >> 16}.{file_ls & 0xFFFF}, not {version}.0")
    for key in ("FileVersion", "ProductVersion"):
        # The key, NUL, padding to 32 bits, then the value and its NUL, all UTF-16.
        text = re.compile(re.escape(key.encode("utf-16-le")) + b"\0\0(?:\0\0)?" +
                          re.escape(version.encode("utf-16-le")) + b"\0\0")
        if not text.search(data):
            faults.append(f"{name}: no {key} \"{version}\"")
    return faults


def main():
    if len(sys.argv) != 4 or sys.argv[2] not in MACHINE:
        sys.exit("usage: check-zip.py ZIP x86|x64 VERSION")
    path, arch, version = sys.argv[1:]
    faults = []
    with zipfile.ZipFile(path) as archive:
        entries = {entry.filename: entry for entry in archive.infolist()}
        expected = COMMON | set(TOOLS[arch])
        for name in sorted(expected - set(entries)):
            faults.append(f"missing {name}")
        for name in sorted(set(entries) - expected):
            faults.append(f"unexpected {name}")
        for name in sorted(expected & set(entries)):
            data = archive.read(name)
            if name.endswith((".exe", ".dll")):
                wanted = TOOLS[arch].get(name, MACHINE[arch])
                if machine(data) != wanted:
                    faults.append(f"{name}: machine {machine(data) or 0:#x}, not {wanted:#x}")
                faults += version_faults(name, data, version)
        if "version.cfg" in entries:
            lines = archive.read("version.cfg").decode("ascii").splitlines()
            if lines != ["[Application]", f"Version={version}"]:
                faults.append(f"version.cfg reads {lines!r}")
        if README in entries:
            if not entries[README].flag_bits & 0x800:
                faults.append(f"{README}: name not flagged as UTF-8")
            text = archive.read(README)
            if not text.startswith(b"\xef\xbb\xbf"):
                faults.append(f"{README}: no UTF-8 byte order mark")
            if re.search(rb"(?<!\r)\n", text):
                faults.append(f"{README}: a line ends without CR")
            if f"Tastron {version}".encode() not in text:
                faults.append(f"{README}: does not name version {version}")
    for fault in faults:
        print(f"{path}: {fault}")
    sys.exit(1 if faults else 0)


main()
