#!/usr/bin/env python3
"""Writes the small seed inputs under fuzz/corpus/ (run once by hand; the output is committed).

The bmpsuite files under tests/data/ are added to the bitmap seeds by scripts/run-fuzz; the
pictures made here cover header forms and codings small and simple enough to mutate well.
Deterministic: the same files every time.
"""
import pathlib
import random
import struct

here = pathlib.Path(__file__).resolve().parent
root = here.parent
corpus = here / "corpus"
rng = random.Random(20240606)


def bmp(width, height, bits, pixels, header_size=40, compression=0, palette=b"", masks=b"", colours_used=0):
    """A bitmap file: file header, info (or core) header, masks, palette, pixel bytes."""
    if header_size == 12:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(pixels),
                             2835, 2835, colours_used, 0)
        inline_masks = masks if header_size > 40 else b""
        header += inline_masks
        header += bytes(header_size - len(header))
        if header_size > 40:
            masks = b""
    offset = 14 + len(header) + len(masks) + len(palette)
    file_header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return file_header + header + masks + palette + pixels


def rows(width, height, bits, value):
    stride = (width * bits + 31) // 32 * 4
    out = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += value(x, y)
        out += row + bytes(stride - len(row))
    return bytes(out)


def gradient24(x, y):
    return bytes([(x * 37) & 0xFF, (y * 53) & 0xFF, (x * y) & 0xFF])


def write(folder, name, data):
    path = corpus / folder / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


# Bitmap decoder: forms the bmpsuite files do not show in a few hundred bytes.
pal2 = bytes([0, 0, 0, 255, 255, 255])
core1 = bmp(12, 5, 1, bytes([0b10101010, 0, 0, 0, 0b01010101, 0, 0, 0] * 2 + [0xF0, 0, 0, 0]), header_size=12,
            palette=pal2)
rle4 = bytes([0, 3, 0x12, 0x34, 0, 0,   # absolute run of three pixels
              6, 0x56,                   # encoded run
              0, 2, 2, 1,                # delta: two right, one up
              4, 0x9A, 0, 0,             # run, end of line
              0, 1])                     # end of bitmap
pal16 = b"".join(bytes([i * 16, 255 - i * 16, (i * 85) & 0xFF, 0]) for i in range(16))
rle4_file = bmp(10, 4, 4, rle4, compression=2, palette=pal16)
v5_565 = bmp(6, 3, 16, rows(6, 3, 16, lambda x, y: struct.pack("<H", (x * 2731 + y * 977) & 0xFFFF)),
             header_size=124, compression=3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F))
alpha32 = bmp(4, 2, 32, rows(4, 2, 32, lambda x, y: bytes([x * 60, y * 90, 200, 128])), compression=6,
              masks=struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000))
topdown = bmp(7, -3, 24, rows(7, 3, 24, gradient24))
for name, data in [("core1.bmp", core1), ("rle4-delta.bmp", rle4_file), ("v5-bitfields565.bmp", v5_565),
                   ("alphabitfields32.bmp", alpha32), ("topdown24.bmp", topdown)]:
    write("fuzz_bitmap_decoder", name, data)

# Open path: a bitmap followed by the paste parameters, which are read from the end.
trailer = bytes(rng.randrange(256) for _ in range(160))
(here / "open_path.trailer").write_bytes(trailer)
part = bmp(40, 30, 24, rows(40, 30, 24, lambda x, y: bytes([0, 0, 0]) if (x + y) % 7 == 0 else gradient24(x, y)))
pal256 = b"".join(bytes([i, (i * 3) & 0xFF, 255 - i, 0]) for i in range(256))
rle8 = bytes([20, 7, 0, 4, 1, 2, 3, 4, 0, 0, 30, 200, 0, 0, 0, 2, 5, 3, 9, 90, 0, 1])
for name, data in [("part24", part), ("rle8", bmp(32, 8, 8, rle8, compression=1, palette=pal256)),
                   ("core1", core1), ("topdown24", topdown)]:
    for k in range(2):
        params = bytes(rng.randrange(256) for _ in range(160))
        write("fuzz_open_path", f"{name}-{k}", data + params)

# Language lookup: key bytes, file bytes, then the key's length and a flag (UTF-8 key when odd).
keys = [b"file", b"setup", b"language", b"LANGUAGE=", b"part", b"##", b"#", b"\xe4nd", b"", b"\r\n", b"\x80\xff"]
for lang in sorted((root / "assets" / "lang").glob("*.zlf")):
    text = lang.read_bytes()
    for key in rng.sample(keys, 4):
        write("fuzz_language_lookup", f"{lang.stem}-{key.hex() or 'empty'}", key + text + bytes([len(key), 0]))
write("fuzz_language_lookup", "unix-lines", b"file" + b"file#Datei\nsave#Sichern\n" + bytes([4, 0]))
write("fuzz_language_lookup", "lone-cr-and-hashes", b"x#" + b"a#b\rx#y##\r\n#x#\r\nX#\xc4\xdf\r\n" + bytes([2, 1]))

# Pixel buffers: a handful of step sequences; the fuzzer grows its own from them.
for k in range(6):
    write("fuzz_pixel_buffers", f"steps-{k}", bytes(rng.randrange(256) for _ in range(24 + 12 * k)))

# File-name patterns: UTF-16 units, little-endian; the first unit's low byte is the pattern's length.
def pattern_seed(pattern, name):
    units = pattern.encode("utf-16-le", "surrogatepass")
    return struct.pack("<H", len(units) // 2) + units + name.encode("utf-16-le", "surrogatepass")


for k, (pattern, name) in enumerate([("Face*.bmp", "face02.BMP"), ("foot_*.bmp", "foot01.bmp"), ("*.*", "README"),
                                     ("?.bmp", "\U0001F600.bmp"), ("user*.bmp", "\u00c4rmel\u1e9e.bmp"),
                                     ("*a*a*b", "a" * 40), ("[ab].bmp", "[AB].BMP"), ("\ud800*.bmp", "\udc00x.bmp")]):
    write("fuzz_file_name_pattern", f"pair-{k}", pattern_seed(pattern, name))
