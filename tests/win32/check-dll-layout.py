#!/usr/bin/env python3
"""check-dll-layout.py DLL i686|x86_64: the hook library is built for that processor, exports
exactly the six functions by their plain names (no "@N" of __stdcall on i686, no leading
underscore), and keeps its state in a section "KMHook" that every process shares, large enough
for the 84-byte settings block."""
import struct
import sys

EXPECTED_EXPORTS = {"StartHook", "StopHook", "SetConfigINI", "SetDevconPath",
                    "EnableHookStatue", "UpdateValue"}
MACHINES = {"i686": 0x14C, "x86_64": 0x8664}
SETTINGS_BLOCK_SIZE = 84
IMAGE_SCN_MEM_SHARED = 0x10000000
IMAGE_SCN_MEM_WRITE = 0x80000000


def read_pe(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    sections_count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    export_rva = struct.unpack_from("<I", data, directories)[0]
    sections = []
    table = optional + optional_size
    for i in range(sections_count):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode()
        virtual_size, rva, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
        flags = struct.unpack_from("<I", data, entry + 36)[0]
        sections.append((name, rva, max(virtual_size, raw_size), raw_pointer, flags))
    return machine, export_rva, sections


def file_offset(rva, sections):
    for _, start, size, raw, _ in sections:
        if start <= rva < start + size:
            return rva - start + raw
    raise ValueError("address %#x is in no section" % rva)


def export_names(data, export_rva, sections):
    directory = file_offset(export_rva, sections)
    count, = struct.unpack_from("<I", data, directory + 24)
    names_rva, = struct.unpack_from("<I", data, directory + 32)
    names = []
    for i in range(count):
        name_rva, = struct.unpack_from("<I", data, file_offset(names_rva, sections) + 4 * i)
        start = file_offset(name_rva, sections)
        names.append(data[start:data.index(b"\0", start)].decode())
    return names


def main(path, arch):
    data = open(path, "rb").read()
    machine, export_rva, sections = read_pe(data)
    problems = []
    if machine != MACHINES[arch]:
        problems.append("machine %#x, expected %#x for %s" % (machine, MACHINES[arch], arch))
    names = set(export_names(data, export_rva, sections)) if export_rva else set()
    if names != EXPECTED_EXPORTS:
        problems.append("exports %s, expected %s" % (sorted(names), sorted(EXPECTED_EXPORTS)))
    shared = [s for s in sections if s[0] == "KMHook"]
    if len(shared) != 1:
        problems.append("sections %s, expected one KMHook" % [s[0] for s in sections])
    elif (shared[0][4] & (IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_WRITE)) != \
            (IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_WRITE):
        problems.append("KMHook is not shared and writable (flags %#x)" % shared[0][4])
    elif shared[0][2] < SETTINGS_BLOCK_SIZE:
        problems.append("KMHook holds %d bytes, less than the settings block" % shared[0][2])
    for problem in problems:
        print("%s: %s" % (path, problem))
    if not problems:
        print("%s: %s, six exports, shared KMHook section" % (path, arch))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit("usage: check-dll-layout.py DLL i686|x86_64")
    sys.exit(main(sys.argv[1], sys.argv[2]))
