#!/usr/bin/env python3
"""Writes the PE seeds and reproducers of the resource fuzz target.

Usage: make_pe_seeds.py BUILD_FOLDER OUTPUT_FOLDER
Builds a tiny Windows program with an icon and a version block (MinGW-w64's
gcc and windres), then the damaged variants that once made the resource
rewriter misbehave. Run once; the files are kept in the corpus.
"""
import os
import struct
import subprocess
import sys

build, out = sys.argv[1], sys.argv[2]
os.makedirs(build, exist_ok=True)
os.makedirs(out, exist_ok=True)

# A 16x16 32-bit icon: one DIB image.
width = height = 16
pixels = bytes([0x20, 0x40, 0xC0, 0xFF]) * (width * height)
mask = bytes(4 * height)
dib = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
image = dib + pixels + mask
icon = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', width, height, 0, 0, 1, 32, len(image), 22) + image
with open(os.path.join(build, 'tiny.ico'), 'wb') as f:
    f.write(icon)
with open(os.path.join(build, 'tiny.c'), 'w') as f:
    f.write('void start(void) {}\n')
with open(os.path.join(build, 'tiny.rc'), 'w') as f:
    f.write('''MAINICON ICON "tiny.ico"
1 VERSIONINFO
FILEVERSION 1,0,0,0
PRODUCTVERSION 1,0,0,0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "CompanyName", "                "
      VALUE "FileVersion", "1.0.0.0"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1252
  END
END
''')
subprocess.check_call(['x86_64-w64-mingw32-windres', 'tiny.rc', '-O', 'coff', '-o', 'tiny.res'], cwd=build)
subprocess.check_call(['x86_64-w64-mingw32-gcc', '-nostdlib', '-e', 'start', '-s', '-Wl,--dynamicbase',
                       'tiny.c', 'tiny.res', '-o', 'tiny.exe'], cwd=build)
program = bytearray(open(os.path.join(build, 'tiny.exe'), 'rb').read())


def write(name, data):
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)


write('tiny-program.exe', program)
pe = struct.unpack_from('<I', program, 0x3C)[0]
optional = pe + 24


def variant(name, patch):
    data = bytearray(program)
    patch(data)
    write(name, data)


# SizeOfOptionalHeader so small that the section table starts before the
# fields the rewriter patches.
variant('small-optional-header.exe', lambda d: struct.pack_into('<H', d, pe + 20, 0x40))
# A file alignment from the file drove the allocation.
variant('huge-file-alignment.exe', lambda d: struct.pack_into('<I', d, optional + 36, 0x636F9E65))
# Alignment arithmetic wrapped at 32 bits and dropped the resources.
variant('wrapping-file-alignment.exe', lambda d: struct.pack_into('<I', d, optional + 36, 0xFFFFFFFF))


def fan_out(d):
    """Three levels of 120 entries, each pointing at the same next table: the
    tree names 120^3 resources in a few kilobytes."""
    sections = struct.unpack_from('<H', d, pe + 6)[0]
    table = optional + struct.unpack_from('<H', d, pe + 20)[0]
    rva = struct.unpack_from('<I', d, optional + 112 + 2 * 8)[0]
    for i in range(sections):
        s = table + 40 * i
        va, raw_size, raw_at = struct.unpack_from('<I', d, s + 12)[0], struct.unpack_from('<I', d, s + 16)[0], \
            struct.unpack_from('<I', d, s + 20)[0]
        if va == rva:
            break
    entries = 120
    level = 16 + 8 * entries
    tree = bytearray()
    for depth in range(3):
        tree += struct.pack('<IIHHHH', 0, 0, 0, 0, 0, entries)
        for e in range(entries):
            target = (level * (depth + 1)) | 0x80000000 if depth < 2 else level * 3
            tree += struct.pack('<II', e + 1, target)
    leaf_at = len(tree)
    tree += struct.pack('<IIII', rva + leaf_at + 16, 256, 0, 0) + bytes(256)
    grown = raw_at + len(tree)
    if grown > len(d):
        d.extend(bytes(grown - len(d)))
    d[raw_at:raw_at + len(tree)] = tree
    size = max(raw_size, (len(tree) + 511) // 512 * 512)
    struct.pack_into('<I', d, s + 16, size)
    struct.pack_into('<I', d, s + 8, size)


variant('resource-fan-out.exe', fan_out)
