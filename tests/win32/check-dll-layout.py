#!/usr/bin/env python3
"""check-dll-layout.py DLL x86|x64: the hook library is built for that processor, exports
exactly the six functions by their plain names (no "@N" of __stdcall on x86, no leading
underscore), and shares between processes a section "KMHook" that holds the owner's identity
and nothing else: the paths, settings, hook handles and flags stay in each process's own memory,
where no other process can write them.

The record's size comes from the build: trellin_192-state.obj beside the DLL, compiled with the
library's compiler and flags, holds sizeof(SharedOwnerRecord) as trellin_SharedStateSize. The
section's virtual size (not its raw size, which the linker pads to the file alignment) must be
that and at most that rounded up to the record's alignment (8 bytes), which the assembler pads a
section to. The record is claimed with one 64-bit compare-exchange, so its address must be a
multiple of 8 as well."""
import os
import struct
import sys

EXPECTED_EXPORTS = {"StartHook", "StopHook", "SetConfigINI", "SetDevconPath",
                    "EnableHookStatue", "UpdateValue"}
MACHINES = {"x86": 0x14C, "x64": 0x8664}
STATE_SIZE_SYMBOL = "trellin_SharedStateSize"
RECORD_ALIGNMENT = 8
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
        sections.append(
            (name, rva, max(virtual_size, raw_size), raw_pointer, flags, virtual_size))
    return machine, export_rva, sections


def file_offset(rva, sections):
    for _, start, size, raw, _, _ in sections:
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


def recorded_state_size(path, machine):
    """sizeof(SharedOwnerRecord) from the build's COFF object: its machine, then the 32-bit
    value the symbol names (on x86 with the leading underscore of C names)."""
    data = open(path, "rb").read()
    object_machine, sections_count, _, symbols_at, symbols_count, optional_size = \
        struct.unpack_from("<HHIIIH", data, 0)
    if object_machine != machine:
        raise ValueError("%s is for machine %#x" % (path, object_machine))
    strings = symbols_at + 18 * symbols_count
    index = 0
    while index < symbols_count:
        entry = symbols_at + 18 * index
        raw_name = data[entry:entry + 8]
        if raw_name[:4] == b"\0\0\0\0":
            start = strings + struct.unpack_from("<I", raw_name, 4)[0]
            name = data[start:data.index(b"\0", start)].decode()
        else:
            name = raw_name.rstrip(b"\0").decode()
        value, section, _, _, aux = struct.unpack_from("<IhHBB", data, entry + 8)
        if name.lstrip("_") == STATE_SIZE_SYMBOL and section > 0:
            header = 20 + optional_size + 40 * (section - 1)
            raw_pointer = struct.unpack_from("<I", data, header + 20)[0]
            return struct.unpack_from("<I", data, raw_pointer + value)[0]
        index += 1 + aux
    raise ValueError("%s defines no %s" % (path, STATE_SIZE_SYMBOL))


def shared_section_problem(section, record_size):
    _, rva, _, _, flags, virtual_size = section
    wanted = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_WRITE
    if flags & wanted != wanted:
        return "KMHook is not shared and writable (flags %#x)" % flags
    padded = -(-record_size // RECORD_ALIGNMENT) * RECORD_ALIGNMENT
    if virtual_size < record_size:
        return "KMHook holds %d bytes, less than the %d of the owner record" % (
            virtual_size, record_size)
    if virtual_size > padded:
        return ("KMHook holds %d bytes, more than the %d of the owner record (%d aligned): "
                "something else lives there" % (virtual_size, record_size, padded))
    if rva % RECORD_ALIGNMENT:
        return "KMHook starts at %#x, not on an 8-byte boundary" % rva
    return None


def main(path, arch):
    data = open(path, "rb").read()
    machine, export_rva, sections = read_pe(data)
    problems = []
    if machine != MACHINES[arch]:
        problems.append("machine %#x, expected %#x for %s" % (machine, MACHINES[arch], arch))
    names = set(export_names(data, export_rva, sections)) if export_rva else set()
    if names != EXPECTED_EXPORTS:
        problems.append("exports %s, expected %s" % (sorted(names), sorted(EXPECTED_EXPORTS)))
    record = os.path.join(os.path.dirname(path), "trellin_192-state.obj")
    try:
        state_size = recorded_state_size(record, MACHINES[arch])
    except (OSError, ValueError, struct.error) as error:
        problems.append("no size of the owner record from the build: %s" % error)
        state_size = None
    shared = [s for s in sections if s[0] == "KMHook"]
    if len(shared) != 1:
        problems.append("sections %s, expected one KMHook" % [s[0] for s in sections])
    elif state_size is not None:
        problem = shared_section_problem(shared[0], state_size)
        if problem:
            problems.append(problem)
    for problem in problems:
        print("%s: %s" % (path, problem))
    if not problems:
        print("%s: %s, six exports, shared KMHook section of %d bytes for a %d-byte owner "
              "record" % (path, arch, shared[0][5], state_size))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit("usage: check-dll-layout.py DLL x86|x64")
    sys.exit(main(sys.argv[1], sys.argv[2]))
