"""PNG encoding with fixed settings, and filler chunks that bring a set to a byte total."""

import io
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
# Ancillary, private, safe-to-copy: decoders skip it.
FILLER_TYPE = b"quEl"
CHUNK_OVERHEAD = 12  # length, type, CRC
FILLER_TAG = b"Quelt skin set filler\0"


def encode(img):
    """PNG bytes of an RGBA image; no time stamps, fixed compression, so output is repeatable."""
    buf = io.BytesIO()
    img.save(buf, format="PNG", compress_level=9, optimize=False)
    return buf.getvalue()


def chunk(ctype, data):
    return (struct.pack(">I", len(data)) + ctype + data
            + struct.pack(">I", zlib.crc32(ctype + data) & 0xFFFFFFFF))


def filler_chunk(total_size):
    """A filler chunk exactly total_size bytes long (at least CHUNK_OVERHEAD)."""
    if total_size < CHUNK_OVERHEAD:
        raise ValueError(f"a chunk needs at least {CHUNK_OVERHEAD} bytes, got {total_size}")
    n = total_size - CHUNK_OVERHEAD
    data = (FILLER_TAG + b"\0" * n)[:n] if n >= len(FILLER_TAG) else b"\0" * n
    return chunk(FILLER_TYPE, data)


def iter_chunks(png):
    """Yields (type, data, offset) of every chunk; raises ValueError on damage."""
    if not png.startswith(SIGNATURE):
        raise ValueError("missing PNG signature")
    pos = len(SIGNATURE)
    while pos < len(png):
        if pos + 8 > len(png):
            raise ValueError("truncated chunk header")
        (length,) = struct.unpack(">I", png[pos : pos + 4])
        ctype = png[pos + 4 : pos + 8]
        end = pos + 12 + length
        if end > len(png):
            raise ValueError(f"truncated chunk {ctype!r}")
        data = png[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", png[end - 4 : end])
        if crc != zlib.crc32(ctype + data) & 0xFFFFFFFF:
            raise ValueError(f"bad CRC in chunk {ctype!r}")
        yield ctype, data, pos
        pos = end


def insert_before_iend(png, extra):
    """Inserts ready-made chunk bytes just before IEND."""
    for ctype, _, offset in iter_chunks(png):
        if ctype == b"IEND":
            return png[:offset] + extra + png[offset:]
    raise ValueError("no IEND chunk")


def pad_to_total(files, padded_name, target):
    """files: dict name -> PNG bytes. Grows padded_name so the sizes add up to target."""
    total = sum(len(b) for b in files.values())
    missing = target - total
    if missing == 0:
        return dict(files)
    if missing < 0:
        raise ValueError(f"images take {total} bytes, {-missing} more than the {target} allowed")
    if missing < CHUNK_OVERHEAD:
        raise ValueError(
            f"images take {total} bytes; {target} leaves {missing}, too little for a filler chunk")
    out = dict(files)
    out[padded_name] = insert_before_iend(files[padded_name], filler_chunk(missing))
    return out
