#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (corpus/<target>/) from the program's own
resources, the test data and the files a build generates (default images, skin art):

    python3 tests/fuzz/make_corpus.py <build dir>

Each seed is small; libFuzzer grows the corpus from them in its own working folder."""
import pathlib
import re
import shutil
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
BUILD = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
CORPUS = HERE / "corpus"


def put(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("utf-8"))


def descriptors():
    text = (ROOT / "tests/platform/win/Descriptors.h").read_text()
    found = {}
    for name, body in re.findall(r"const Bytes (k\w+) = \{(.*?)\};", text, re.S):
        found[name[1:]] = bytes(int(x, 16) for x in re.findall(r"0x[0-9A-Fa-f]{2}", body))
    return found


def gif(width, height, palette, frames):
    """A GIF whose frames are (left, top, w, h, pixels, delay, disposal, transparent,
    local palette or None); the pixel data is coded with a clear code before every
    pixel, which any decoder reads and which needs no dictionary."""
    def colour_table(colours):
        size = 1
        while (1 << size) < len(colours):
            size += 1
        colours = colours + [(0, 0, 0)] * ((1 << size) - len(colours))
        return size - 1, b"".join(bytes(c) for c in colours)

    def lzw(pixels, min_size):
        clear, end, width = 1 << min_size, (1 << min_size) + 1, min_size + 1
        bits = nbits = 0
        out = bytearray()
        codes = []
        for p in pixels:
            codes += [clear, p]
        codes.append(end)
        for code in codes:
            bits |= code << nbits
            nbits += width
            while nbits >= 8:
                out.append(bits & 0xFF)
                bits >>= 8
                nbits -= 8
        if nbits:
            out.append(bits)
        blocks = b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255]
                          for i in range(0, len(out), 255))
        return bytes([min_size]) + blocks + b"\0"

    size_bits, table = colour_table(palette)
    data = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | 0x70 | size_bits, 0, 0) + table
    for left, top, w, h, pixels, delay, disposal, transparent, local in frames:
        flags = (disposal << 2) | (1 if transparent is not None else 0)
        data += b"\x21\xF9\x04" + struct.pack("<BHB", flags, delay, transparent or 0) + b"\0"
        if local:
            lbits, ltable = colour_table(local)
            data += b"\x2C" + struct.pack("<HHHHB", left, top, w, h, 0x80 | lbits) + ltable
        else:
            data += b"\x2C" + struct.pack("<HHHHB", left, top, w, h, 0)
        data += lzw(pixels, max(2, size_bits + 1))
    return data + b"\x3B"


def main():
    if CORPUS.exists():
        shutil.rmtree(CORPUS)
    d = descriptors()
    for name, data in d.items():
        put("report_descriptor", name, data)
    uevent = "DRIVER=hid-generic\nHID_ID=0003:000004B4:000008B9\nHID_NAME=VTRM408x Mouse\n"
    put("hidraw_sysfs", "vendor", uevent.encode() + b"\0" + d["Vendor"])
    put("hidraw_sysfs", "keyboard", b"HID_ID=0003:0000046D:0000C31C\n\0" + d["BootKeyboard"])

    put("ini_reader", "org", (ROOT / "resources/layout/ORG.txt").read_bytes())
    put("ini_reader", "edges", "; comment\nbefore=section\n[A]\nkey = value \nKEY=second\n"
        "no equals\n[a]\nother=1\n[ spaced ]\n=empty key\nx==y\n")

    for n in (1, 2, 3):
        text = (ROOT / f"resources/lang/Lang{n}.txt").read_text(encoding="utf-8")
        put("language_table", f"lang{n}", b"\xFF\xFE" + text.encode("utf-16-le"))
    put("language_table", "nomark", '[lang1]\r\n"Str001=a ""b""" Str002=c\r\n'.encode("utf-16-le"))

    put("layout_text", "org", (ROOT / "resources/layout/ORG.txt").read_bytes())
    put("layout_text", "org1", (ROOT / "resources/layout/ORG1.txt").read_bytes()[:3000])

    for name in ("picture.png", "broken.png"):
        put("png", name, (ROOT / "tests/data/vcl" / name).read_bytes())
    for name in ("Bar1_D.png", "CbS_D.png"):
        put("png", name, (BUILD / "generated/skin" / name).read_bytes())

    palette = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
    put("gif", "one", gif(4, 3, palette, [(0, 0, 4, 3, [1] * 12, 5, 0, None, None)]))
    put("gif", "three", gif(6, 4, palette, [
        (0, 0, 6, 4, [1] * 24, 4, 1, None, None),
        (1, 1, 3, 2, [2, 0, 2, 0, 2, 0], 6, 2, 0, None),
        (3, 0, 3, 4, [i % 2 for i in range(12)], 0, 3, None, [(0, 0, 0), (255, 255, 255)]),
    ]))

    images = [(BUILD / f"generated/defaultimages/VTRM408xData_Cfg{n}.bin").read_bytes()
              for n in (1, 2, 3)]
    for n, image in enumerate(images, 1):
        put("image_split", f"cfg{n}", bytes([n - 1, n & 1, n]) + image)
        put("device_macro_area", f"cfg{n}", image[496:1008])
    name = b"\0M\0a\0c\0r\0o\0001" + b"\0" * 4
    put("device_macro_area", "two", name + b"\x01\x02\x03\0" + name + b"\x04\0" + b"\0\0")

    library = (BUILD / "generated/defaultimages/PCMacroData.bin").read_bytes()
    put("pc_macro_library", "default", library)
    put("pc_macro_library", "short", library[:272])
    put("pc_macro_library", "missing", b"")

    put("macro_name_hex", "ab", "00410042" + "0" * 24)
    put("macro_name_hex", "chinese", "找裝置")
    put("macro_name_hex", "stored", name + b"\0" * 4)

    for code in ("0300E900", "1001F000", "0b8f0000", "120", "-15", "256"):
        put("button_code_text", code.lower(), code)

    put("form_design", "loading", (ROOT / "resources/form/FormLoadingUI.txt").read_bytes())
    put("form_design", "page", """object Form1: TForm
  Caption = 'It''s a page'
  ClientWidth = $200
  Font.Style = [fsBold]
  OnCreate = FormCreate
  object gbPage1: TGroupBox
    Left = 0
    object Img_Base_1: TImage
      AutoSize = True
    end
    object cbList: TComboBox
      Items = (
        'first'
        'second')
    end
    object Btn_1: TWideLabel
      Caption = 'OK'
      OnClick = ButtonClick
    end
  end
end
""")


main()
