"""Image containers and the BMP and ICO encoders.

An image is a dict: width, height and rows, a list of rows top first, each a
list of (r, g, b) tuples for 24 bpp images or (r, g, b, a) for icon images.
"""

import struct

KEY = (255, 0, 255)  # transparent key colour of the 24 bpp bitmaps


def new_image(width, height, fill):
    return {"width": width, "height": height,
            "rows": [[fill] * width for _ in range(height)]}


def _info_header(width, height, bits, image_size):
    # BITMAPINFOHEADER, BI_RGB, no palette.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 2835, 2835, 0, 0)


def _pixels24(image):
    stride = (image["width"] * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(image["rows"]):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        out += line + bytes(stride - len(line))
    return bytes(out)


def bmp24_file(image):
    pixels = _pixels24(image)
    offset = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return (file_header + _info_header(image["width"], image["height"], 24, len(pixels))
            + pixels)


def _icon_entry_data(image):
    width, height = image["width"], image["height"]
    colour = bytearray()
    for row in reversed(image["rows"]):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    # AND mask, 1 bpp, rows padded to 32 bits; set bits are transparent.
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(image["rows"]):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = _info_header(width, height * 2, 32, len(colour) + len(mask))
    return header + bytes(colour) + bytes(mask)


def ico_file(images):
    """An ICO with one BMP-encoded 32 bpp entry per image (no PNG entries)."""
    datas = [_icon_entry_data(image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image, data in zip(images, datas):
        w, h = image["width"], image["height"]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(datas)
