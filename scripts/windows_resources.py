#!/usr/bin/env python3
"""Reads two resources of a Windows program, as extracted raw from the
executable, into lines the tests compare: `version FILE` for the version
resource, `manifest FILE` for the application manifest ('-' is stdin)."""
import struct
import sys
import xml.etree.ElementTree as ElementTree

FIXED_SIGNATURE = 0xFEEF04BD
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"


def align4(offset):
    return (offset + 3) & ~3


def read_node(data, offset):
    """One node of the version tree: (key, value type, value bytes, children)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    if length < 6 or end > len(data):
        raise ValueError(f"node at {offset} runs past the resource")
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        if key_end >= end:
            raise ValueError(f"node at {offset} has an unterminated key")
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    # A text value counts its length in characters, a binary one in bytes.
    value_end = value_start + value_length * (2 if value_type == 1 else 1)
    value = data[value_start:min(value_end, end)]
    children = []
    child = align4(value_end)
    while child < end:
        node = read_node(data, child)
        children.append(node)
        child = align4(child + struct.unpack_from("<H", data, child)[0])
    return key, value_type, value, children


def text(value):
    return value.decode("utf-16-le").split("\0", 1)[0]


def fixed_version(most, least):
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}"


def version_lines(data):
    key, _, fixed, children = read_node(data, 0)
    if key != "VS_VERSION_INFO":
        raise ValueError(f"root key is {key!r}")
    fields = struct.unpack_from("<13I", fixed)
    if fields[0] != FIXED_SIGNATURE:
        raise ValueError("fixed file info has a wrong signature")
    yield "fixed.FileVersion=" + fixed_version(fields[2], fields[3])
    yield "fixed.ProductVersion=" + fixed_version(fields[4], fields[5])
    yield f"fixed.FileOS=0x{fields[8]:X}"
    yield f"fixed.FileType={fields[9]}"
    for block, _, _, entries in children:
        for name, _, value, strings in entries:
            if block == "StringFileInfo":
                for string_key, _, string_value, _ in strings:
                    yield f"{name}.{string_key}={text(string_value)}"
            elif block == "VarFileInfo" and name == "Translation":
                for language, codepage in struct.iter_unpack("<HH", value):
                    yield f"Translation={language:04X}{codepage:04X}"


def manifest_lines(data):
    root = ElementTree.fromstring(data)
    if root.tag != ASM_V1 + "assembly":
        raise ValueError(f"root element is {root.tag}")
    level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                      f"{ASM_V3}requestedExecutionLevel")
    if level is not None:
        yield "requestedExecutionLevel=" + level.get("level", "")
        yield "uiAccess=" + level.get("uiAccess", "")
    settings = f"{ASM_V3}application/{ASM_V3}windowsSettings/"
    for tag in (SETTINGS_2005 + "dpiAware", SETTINGS_2016 + "dpiAwareness"):
        element = root.find(settings + tag)
        if element is not None:
            yield f"{tag.split('}')[1]}={(element.text or '').strip()}"
    for os_entry in root.findall(f"{COMPATIBILITY}compatibility/{COMPATIBILITY}application/"
                                 f"{COMPATIBILITY}supportedOS"):
        yield "supportedOS=" + os_entry.get("Id", "").lower()


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("version", "manifest"):
        sys.exit("usage: windows_resources.py version|manifest FILE")
    source = sys.stdin.buffer if sys.argv[2] == "-" else open(sys.argv[2], "rb")
    data = source.read()
    reader = version_lines if sys.argv[1] == "version" else manifest_lines
    try:
        for line in reader(data):
            print(line)
    except (ValueError, struct.error, ElementTree.ParseError) as error:
        sys.exit(f"{sys.argv[1]} resource unreadable: {error}")


if __name__ == "__main__":
    main()
