"""The pictures pdftoppm writes, for the test command's checks of rendered pages."""


def read_ppm(path):
    """The width, height and RGB samples of a binary PPM file (P6, 8 bits)."""
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return int(fields[1]), int(fields[2]), data[at + 1:]
