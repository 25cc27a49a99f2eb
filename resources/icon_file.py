"""Packs icon images into an .ico file: each image 32-bit with alpha (rows of
(r, g, b, a) from the bottom up) and its AND mask from the alpha, as the
resource compiler takes them. Used by the scripts that draw the icons."""
import struct


def icon_image(size, pixels):
    """The DIB of one image: size x size pixels, bottom row first."""
    xor = b"".join(bytes((b, g, r, a)) for r, g, b, a in pixels)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in range(size):
        bits = bytearray(mask_stride)
        for x in range(size):
            if pixels[row * size + x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def icon_file(images):
    """The file of (size, pixels) images, in the order given."""
    data = [icon_image(size, pixels) for size, pixels in images]
    header = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    entries = b""
    for (size, _), image in zip(images, data):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return header + entries + b"".join(data)
