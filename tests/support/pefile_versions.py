"""Prints what Debian's pefile finds in the version resource of each file.

One line per file argument: "none" when pefile finds no fixed file
information, or the 13 words of VS_FIXEDFILEINFO and the language and code
page of the first translation (0 and 1252 when there is none).
"""
import struct
import sys

import pefile

WORDS = ("Signature", "StrucVersion", "FileVersionMS", "FileVersionLS",
         "ProductVersionMS", "ProductVersionLS", "FileFlagsMask", "FileFlags",
         "FileOS", "FileType", "FileSubtype", "FileDateMS", "FileDateLS")


def first_translation(pe):
    # pefile keeps only the last pair of a Var in its entry dictionary; take
    # the first pair from the bytes of the Var it located.
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for var in getattr(info, "Var", []):
            if b"Translation" not in var.entry and "Translation" not in var.entry:
                continue
            value = var.get_file_offset() + var.sizeof() + 2 * (len("Translation") + 1)
            value = (value + 3) & ~3
            data = pe.__data__[value:value + 4]
            if var.ValueLength >= 4 and len(data) == 4:
                return struct.unpack("<HH", data)
    return (0, 1252)


for path in sys.argv[1:]:
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(
            directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    except pefile.PEFormatError:
        fixed = None
    if fixed:
        print(*[getattr(fixed[0], name) for name in WORDS], *first_translation(pe))
    else:
        print("none")
