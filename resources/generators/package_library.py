"""Checks the built skinning library and pads it with zero bytes to the exact length the
program writes out. A PE image keeps loading with trailing bytes after its last section.

The checks are the ones the program relies on: a DLL for the program's own machine whose
export directory names it SkinH_EL.dll and which exports SkinH_AttachRes under that plain
name (not a decorated stdcall name), every export named SkinH_...

usage: package_library.py INPUT OUTPUT LENGTH MACHINE   (MACHINE: i386 or amd64)
"""
import struct
import sys

MACHINES = {"i386": 0x014C, "amd64": 0x8664}
IMAGE_FILE_DLL = 0x2000
LIBRARY_NAME = "SkinH_EL.dll"
REQUIRED_EXPORT = "SkinH_AttachRes"
EXPORT_PREFIX = "SkinH_"


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, optional_bytes,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + {0x10B: 96, 0x20B: 112}[magic]
        self.export_rva = struct.unpack_from("<I", data, directories)[0]
        table = optional + optional_bytes
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for _, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + raw_size:
                return raw_offset + rva - address
        raise ValueError(f"address {rva:#x} is not in the file")

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def exports(self):
        if not self.export_rva:
            return None, []
        directory = self.offset(self.export_rva)
        name_rva, _, _, name_count, _, names_rva = struct.unpack_from("<IIIIII", self.data, directory + 12)
        names = self.offset(names_rva)
        return self.text(name_rva), [self.text(struct.unpack_from("<I", self.data, names + 4 * i)[0])
                                     for i in range(name_count)]


def check(data, machine):
    pe = PeFile(data)
    if pe.machine != MACHINES[machine]:
        raise ValueError(f"machine {pe.machine:#06x}, expected {machine}")
    if not pe.characteristics & IMAGE_FILE_DLL:
        raise ValueError("not a DLL")
    library, names = pe.exports()
    if library != LIBRARY_NAME:
        raise ValueError(f"export directory names {library!r}, expected {LIBRARY_NAME!r}")
    if REQUIRED_EXPORT not in names:
        raise ValueError(f"{REQUIRED_EXPORT} is not exported under its plain name: {names}")
    strays = [name for name in names if not name.startswith(EXPORT_PREFIX)]
    if strays:
        raise ValueError(f"exports without the {EXPORT_PREFIX} prefix: {strays}")


def main():
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    source, target, length, machine = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    with open(source, "rb") as f:
        data = f.read()
    try:
        check(data, machine)
    except (ValueError, KeyError, struct.error) as problem:
        raise SystemExit(f"{source}: {problem}")
    if len(data) > length:
        raise SystemExit(f"{source} is {len(data)} bytes, more than the {length} it must fit in")
    with open(target, "wb") as f:
        f.write(data + bytes(length - len(data)))


if __name__ == "__main__":
    main()
