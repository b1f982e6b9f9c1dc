"""Reads the resources out of a built tool and holds them to their formats, more strictly than
the system's decoders do: every bitmap is 8-bit RLE8 whose rows decode to exactly the width,
with valid escapes and end-of-bitmap at the end; every icon image matches its directory entry;
the manifest is well-formed XML.   Usage: /usr/bin/python3 check-resources.py vortag.exe"""
import struct, sys, xml.dom.minidom

import pefile

def resources(pe, kind):
    """(name, language, bytes) of every resource of one type."""
    for of_kind in (e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == kind):
        for name in of_kind.directory.entries:
            for language in name.directory.entries:
                yield name.id, language.id, pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)

def rle8_fault(width, height, colours, data):
    """What is wrong with an RLE8 stream, or None. Deltas are refused: they leave pixels unset."""
    x = y = at = 0
    while at + 2 <= len(data):
        count, value = data[at], data[at + 1]
        at += 2
        if count == 0 and value == 0:   # end of line
            if x != width:
                return f"row {y} ends after {x} of {width} pixels"
            x, y = 0, y + 1
        elif count == 0 and value == 1:   # end of bitmap: after the last row, or after its end of line
            if (x, y) not in ((width, height - 1), (0, height)) or at != len(data):
                return f"end-of-bitmap at pixel {x} of row {y} of {height}, {len(data) - at} bytes before the end"
            return None
        elif count == 0 and value == 2:
            return f"a delta in row {y}"
        else:   # a run of one colour, or `value` colours given one by one (padded to even)
            pixels = [value] * count if count else data[at:at + value]
            at += 0 if count else value + (value & 1)
            if y >= height or x + len(pixels) > width or len(pixels) < (count or value):
                return f"row {y} runs past the width {width} or the stream's end, to pixel {x + len(pixels)}"
            if max(pixels) >= colours:
                return f"row {y} uses colour {max(pixels)} of {colours}"
            x += len(pixels)
    return "the stream ends without end-of-bitmap"

def bitmap_fault(data):
    size, width, height, planes, bits, compression, image_size, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data)
    pixels = data[size + 4 * (used or 256):]
    if (size, planes, bits, compression, image_size) != (40, 1, 8, 1, len(pixels)) or height <= 0:
        return f"not bottom-up RLE8 in {len(pixels)} bytes: {bits} bits, compression {compression}, {image_size} bytes"
    return rle8_fault(width, height, used or 256, pixels)

def icon_fault(entry, image):
    width, height, _, _, planes, bits, size, _ = entry
    if image[:8] == b"\x89PNG\r\n\x1a\n":   # size, then bit depth and colour type (RGB, palette, RGBA ...)
        shown, shown_bits = struct.unpack_from(">II", image, 16), image[24] * {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[image[25]]
    else:   # a DIB, twice as high as the icon: colours, then the mask
        w, h, _, shown_bits = struct.unpack_from("<iiHH", image.ljust(16, b"\0"), 4)
        shown = (w, h // 2)
    if shown != (width or 256, height or 256) or (planes, bits, size) != (1, shown_bits, len(image)):
        return f"entry {width} x {height}, {bits} bits, {size} bytes; image {shown}, {shown_bits} bits, {len(image)} bytes"
    return None

pe = pefile.PE(sys.argv[1])
faults = [f"bitmap {name} in {language:04x}: {fault}" for name, language, data in resources(pe, 2) if (fault := bitmap_fault(data))]
icons = {name: data for name, _, data in resources(pe, 3)}
checked = [len(list(resources(pe, kind))) for kind in (2, 14, 24)]   # bitmaps, icon groups, manifests
for name, _, group in resources(pe, 14):
    for entry in (struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(group[4])):
        if fault := icon_fault(entry, icons.get(entry[7], b"")):
            faults.append(f"icon {name}, image {entry[7]}: {fault}")
for name, _, manifest in resources(pe, 24):
    try:
        xml.dom.minidom.parseString(manifest)
    except Exception as error:
        faults.append(f"manifest {name}: {error}")
print("\n".join(faults + [f"{checked[0]} bitmaps, {checked[1]} icon groups, {checked[2]} manifests"]))
sys.exit(1 if faults or 0 in checked else 0)
