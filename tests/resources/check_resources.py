#!/usr/bin/env python3
"""Checks the resource section of a built ledgrix.exe.

It must hold exactly the document icon group (id 202, eight images), one
version record and one empty manifest, and no other resource types. With
--version, the version record's numbers and strings must be that version.

Usage: check_resources.py [--version X.Y.Z] path/to/exe
"""

import re
import struct
import sys
import xml.etree.ElementTree as ET

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
TYPE_NAMES = {RT_ICON: "RT_ICON", RT_GROUP_ICON: "RT_GROUP_ICON",
              RT_VERSION: "RT_VERSION", RT_MANIFEST: "RT_MANIFEST"}
OTHER_TYPE_NAMES = {1: "RT_CURSOR", 2: "RT_BITMAP", 4: "RT_MENU", 5: "RT_DIALOG", 6: "RT_STRING",
                    9: "RT_ACCELERATOR", 10: "RT_RCDATA", 11: "RT_MESSAGETABLE", 12: "RT_GROUP_CURSOR",
                    23: "RT_HTML"}

ICON_GROUP_ID = 202
# (width and height, bit count), in directory order.
EXPECTED_IMAGES = [(256, 8), (128, 8), (64, 8), (256, 32), (48, 32), (32, 32), (24, 32), (16, 32)]
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD
ASSEMBLY_TAG = "{urn:schemas-microsoft-com:asm.v1}assembly"


class Mismatch(Exception):
    pass


def require(condition, message):
    if not condition:
        raise Mismatch(message)


class PeImage:
    def __init__(self, data):
        self.data = data
        require(len(data) >= 64 and data[:2] == b"MZ", "not a PE file: no MZ header")
        pe, = struct.unpack_from("<I", data, 0x3C)
        require(data[pe:pe + 4] == b"PE\0\0", "not a PE file: no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic, = struct.unpack_from("<H", data, optional)
        require(magic in (0x10B, 0x20B), "unknown optional header magic 0x%X" % magic)
        directories = optional + (96 if magic == 0x10B else 112)
        count, = struct.unpack_from("<I", data, directories - 4)
        if count > 2:
            self.rsrc_rva, self.rsrc_size = struct.unpack_from("<II", data, directories + 16)
        else:
            self.rsrc_rva, self.rsrc_size = 0, 0
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, raw_size), raw_ptr, raw_size))

    def read(self, rva, size):
        for vaddr, span, raw_ptr, raw_size in self.sections:
            if vaddr <= rva and rva + size <= vaddr + span:
                start = rva - vaddr
                require(start + size <= raw_size, "resource data at RVA 0x%X lies outside the file" % rva)
                return self.data[raw_ptr + start:raw_ptr + start + size]
        raise Mismatch("RVA 0x%X (%d bytes) is in no section" % (rva, size))


def read_resources(pe):
    """Returns {type: {name: {language: bytes}}}; string names come back as str."""
    require(pe.rsrc_rva and pe.rsrc_size, "the file has no resource section")
    section = pe.read(pe.rsrc_rva, pe.rsrc_size)

    def name_of(entry_name):
        if entry_name & 0x80000000:
            offset = entry_name & 0x7FFFFFFF
            length, = struct.unpack_from("<H", section, offset)
            return section[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")
        return entry_name

    def directory(offset, path):
        named, ids = struct.unpack_from("<HH", section, offset + 12)
        result = {}
        for i in range(named + ids):
            entry_name, target = struct.unpack_from("<II", section, offset + 16 + 8 * i)
            key = name_of(entry_name)
            label = TYPE_NAMES.get(key, key) if not path else key
            where = "/".join(map(str, path + [label]))
            require(key not in result, "resource %s appears twice (a second manifest or icon linked in?)" % where)
            subdirectory = bool(target & 0x80000000)
            require(subdirectory == (len(path) < 2), "malformed resource tree at %s" % where)
            if subdirectory:
                result[key] = directory(target & 0x7FFFFFFF, path + [label])
            else:
                rva, size = struct.unpack_from("<II", section, target)
                result[key] = pe.read(rva, size)
        return result

    return directory(0, [])


def single(tree, kind, name):
    """The one language version of resource (kind, name)."""
    entries = tree.get(kind, {})
    label = TYPE_NAMES.get(kind, kind)
    require(list(entries) == [name], "%s: expected exactly id %r, found %r" % (label, name, sorted(entries, key=str)))
    languages = entries[name]
    require(len(languages) == 1, "%s %r: expected one language, found %d" % (label, name, len(languages)))
    return next(iter(languages.values()))


def check_types(tree):
    found = sorted(tree, key=str)
    expected = sorted(TYPE_NAMES)
    unexpected = ["%s (%r)" % (OTHER_TYPE_NAMES.get(t, "type"), t) for t in found if t not in TYPE_NAMES]
    missing = [TYPE_NAMES[t] for t in expected if t not in tree]
    require(not missing, "missing resource types: %s" % ", ".join(missing))
    require(not unexpected, "unexpected resource types: %s" % ", ".join(map(str, unexpected)))


def check_icons(tree):
    group = single(tree, RT_GROUP_ICON, ICON_GROUP_ID)
    require(len(group) >= 6, "icon group %d is truncated" % ICON_GROUP_ID)
    reserved, kind, count = struct.unpack_from("<HHH", group)
    require(reserved == 0 and kind == 1, "icon group %d has a bad header" % ICON_GROUP_ID)
    require(count == len(EXPECTED_IMAGES), "icon group %d lists %d images, expected %d"
            % (ICON_GROUP_ID, count, len(EXPECTED_IMAGES)))
    require(len(group) >= 6 + 14 * count, "icon group %d is truncated" % ICON_GROUP_ID)
    icons = tree[RT_ICON]
    referenced = set()
    for index, (size, bits) in enumerate(EXPECTED_IMAGES):
        width, height, _, _, _, bit_count, length, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * index)
        width, height = width or 256, height or 256
        where = "icon image %d (id %d)" % (index + 1, icon_id)
        require((width, height, bit_count) == (size, size, bits), "%s is %dx%d at %d bits, expected %dx%d at %d bits"
                % (where, width, height, bit_count, size, size, bits))
        require(icon_id not in referenced, "%s is listed twice" % where)
        referenced.add(icon_id)
        data = _icon(icons, icon_id, where)
        require(len(data) == length, "%s holds %d bytes, the group says %d" % (where, len(data), length))
        if size == 256:
            require(data.startswith(PNG_SIGNATURE), "%s is not PNG-compressed" % where)
            png_width, png_height = struct.unpack_from(">II", data, 16)
            require((png_width, png_height) == (size, size), "%s PNG is %dx%d" % (where, png_width, png_height))
        else:
            require(len(data) >= 40, "%s is too short for a DIB" % where)
            header_size, dib_width, dib_height, _, dib_bits = struct.unpack_from("<IiiHH", data)
            require(header_size == 40, "%s is not a DIB (header size %d)" % (where, header_size))
            require((dib_width, dib_height) == (size, 2 * size), "%s DIB is %dx%d, expected %dx%d"
                    % (where, dib_width, dib_height, size, 2 * size))
            require(dib_bits == bits, "%s DIB has %d bits per pixel, expected %d" % (where, dib_bits, bits))
    extra = sorted(set(icons) - referenced, key=str)
    require(not extra, "RT_ICON entries outside the icon group: %r" % extra)


def _icon(icons, icon_id, where):
    require(icon_id in icons, "%s is missing from RT_ICON" % where)
    languages = icons[icon_id]
    require(len(languages) == 1, "%s exists in %d languages" % (where, len(languages)))
    return next(iter(languages.values()))


def _align(offset):
    return (offset + 3) & ~3


def parse_version_block(data, offset=0):
    """One VS_VERSIONINFO-style node: (key, value bytes, is_text, children, end offset)."""
    require(offset + 6 <= len(data), "version record is truncated")
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    require(length >= 6 and end <= len(data), "version record has a bad block length")
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        require(key_end < end, "version record key is unterminated")
    key = data[offset + 6:key_end].decode("utf-16-le")
    position = _align(key_end + 2)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = data[position:position + value_bytes]
    position = _align(position + value_bytes)
    children = []
    while position < end:
        child = parse_version_block(data, position)
        children.append(child)
        position = _align(child[4])
    return key, value, value_type == 1, children, end


def check_version(tree, expected=None):
    data = single(tree, RT_VERSION, 1)
    key, value, _, children, _ = parse_version_block(data)
    require(key == "VS_VERSION_INFO", "version record key is %r" % key)
    require(len(value) >= 52, "version record has no fixed file info")
    signature, = struct.unpack_from("<I", value)
    require(signature == FIXED_FILE_INFO_SIGNATURE, "fixed file info signature is 0x%08X" % signature)
    strings = {}
    for block_key, _, _, tables, _ in children:
        if block_key != "StringFileInfo":
            continue
        for _, _, _, entries, _ in tables:
            for name, text, is_text, _, _ in entries:
                strings[name] = text.decode("utf-16-le").rstrip("\0") if is_text else ""
    for name in ("ProductName", "FileDescription"):
        require(strings.get(name), "version record has no %s string" % name)
    if expected:
        fields = [int(field) for field in expected.split(".")] + [0] * 4
        numbers = ((fields[0] << 16 | fields[1]), (fields[2] << 16 | fields[3]))
        file_version = struct.unpack_from("<II", value, 8)
        product_version = struct.unpack_from("<II", value, 16)
        for name, found in (("file", file_version), ("product", product_version)):
            require(found == numbers, "fixed %s version is %d.%d.%d.%d, expected %s" % (
                name, found[0] >> 16, found[0] & 0xFFFF, found[1] >> 16, found[1] & 0xFFFF, expected))
        for name in ("FileVersion", "ProductVersion"):
            require(strings.get(name) == expected, "%s string is %r, expected %r" % (name, strings.get(name), expected))
    return strings


def check_manifest(tree):
    data = single(tree, RT_MANIFEST, 1)
    try:
        root = ET.fromstring(data)
    except ET.ParseError as error:
        raise Mismatch("manifest is not well-formed XML: %s" % error)
    require(root.tag == ASSEMBLY_TAG, "manifest root is %r, expected %r" % (root.tag, ASSEMBLY_TAG))
    require(len(root) == 0, "manifest is not empty: %s" % ", ".join(child.tag for child in root))
    require(not (root.text or "").strip(), "manifest assembly holds text")


def main(argv):
    expected = None
    if len(argv) == 4 and argv[1] == "--version":
        expected, argv = argv[2], argv[2:]
    if len(argv) != 2 or (expected is not None and not re.fullmatch(r"\d+(\.\d+){0,3}", expected)):
        print("usage: check_resources.py [--version X.Y.Z] path/to/exe", file=sys.stderr)
        return 2
    path = argv[1]
    try:
        with open(path, "rb") as f:
            pe = PeImage(f.read())
        tree = read_resources(pe)
        check_types(tree)
        check_icons(tree)
        strings = check_version(tree, expected)
        check_manifest(tree)
    except Mismatch as error:
        print("%s: %s" % (path, error), file=sys.stderr)
        return 1
    except (OSError, struct.error, UnicodeDecodeError) as error:
        print("%s: cannot read resources: %s" % (path, error), file=sys.stderr)
        return 1
    print("%s: icon group %d with %d images, version %s (%s, %s), empty manifest"
          % (path, ICON_GROUP_ID, len(EXPECTED_IMAGES), strings.get("FileVersion", "?"),
             strings["ProductName"], strings["FileDescription"]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
