"""File writers: PNG, ICO (BMP and PNG entries) and 24-bit BMP."""

import struct
import zlib
from typing import NamedTuple


class RgbImage(NamedTuple):
    """A flat picture: w x h pixels as 8-bit RGB rows, top-down."""
    w: int
    h: int
    rgb: bytearray


def png_chunk(tag, data):
    """One PNG chunk: length, tag, data and the CRC of tag and data."""
    return (struct.pack(">I", len(data)) + tag + data
            + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))


def png_file(w, h, channels, rows, level):
    """A PNG of 8-bit RGB or RGBA from its rows, each led by its filter byte, compressed at
    zlib level `level`."""
    ctype = 6 if channels == 4 else 2
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, ctype, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(bytes(rows), level))
            + png_chunk(b"IEND", b""))


def png_bytes(w, h, raw_rows, channels):
    """PNG from top-down rows of 8-bit RGB or RGBA (adaptive row filters)."""
    stride = w * channels
    filtered = bytearray()
    prev = bytearray(stride)
    for j in range(h):
        row = raw_rows[j * stride:(j + 1) * stride]
        cands = []
        cands.append((0, bytes(row)))
        sub_ = bytearray(stride)
        up = bytearray(stride)
        avg = bytearray(stride)
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            sub_[i] = (row[i] - left) & 255
            up[i] = (row[i] - prev[i]) & 255
            avg[i] = (row[i] - ((left + prev[i]) >> 1)) & 255
        cands += [(1, sub_), (2, up), (3, avg)]
        best = min(cands, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))
        filtered.append(best[0])
        filtered += best[1]
        prev = row
    return png_file(w, h, channels, filtered, 9)


def png_plain(w, h, raw_rows, channels):
    """Quick PNG without row filters (for the large preview)."""
    stride = w * channels
    data = bytearray()
    for j in range(h):
        data.append(0)
        data += raw_rows[j * stride:(j + 1) * stride]
    return png_file(w, h, channels, data, 6)


def ico_bmp_image(cv):
    """One icon image: BITMAPINFOHEADER, BGRA bottom-up, AND mask."""
    w, h = cv.w, cv.h
    rgba = cv.rgba8()
    xor = bytearray()
    for j in range(h - 1, -1, -1):
        for i in range(w):
            k = (j * w + i) * 4
            xor += bytes((rgba[k + 2], rgba[k + 1], rgba[k], rgba[k + 3]))
    mstride = ((w + 31) // 32) * 4
    mask = bytearray()
    for j in range(h - 1, -1, -1):
        row = bytearray(mstride)
        for i in range(w):
            if rgba[(j * w + i) * 4 + 3] < 128:   # transparent where alpha is low
                row[i >> 3] |= 0x80 >> (i & 7)
        mask += row
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(mask)


def ico_png_image(cv):
    return png_bytes(cv.w, cv.h, cv.rgba8(), 4)


def write_ico(path, canvases, png_from=256):
    images = []
    for cv in canvases:
        data = ico_png_image(cv) if cv.w >= png_from else ico_bmp_image(cv)
        images.append((cv.w, cv.h, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w & 255, h & 255, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_bmp24(path, w, h, rgb):
    stride = (w * 3 + 3) & ~3
    pix = bytearray()
    for j in range(h - 1, -1, -1):
        row = bytearray(stride)
        for i in range(w):
            k = (j * w + i) * 3
            row[i * 3:i * 3 + 3] = bytes((rgb[k + 2], rgb[k + 1], rgb[k]))
        pix += row
    hdr = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pix), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pix), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(hdr + info + bytes(pix))


def write_picture(path, picture):
    """Writes an RgbImage as a 24-bit BMP, a list of canvases as an icon with one image each."""
    if isinstance(picture, RgbImage):
        write_bmp24(path, picture.w, picture.h, picture.rgb)
    else:
        write_ico(path, picture)
