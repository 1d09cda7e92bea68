#!/usr/bin/env python3
"""Reads the built Windows executables from Linux and checks what they carry.

usage: check_executables.py VELKAST_EXE CLI_EXE DLL ICON_FILE MANIFEST CLI_MANIFEST VERSION
       check_executables.py --installer INSTALLER_EXE VERSION

Velkast.exe: dialog 102 a standard (not extended) template whose controls
name their classes by the predefined atoms; icon group 128 whose nine images
1 to 9 are the images of the icon file, byte for byte. Both programs: every
resource in English (US), 0x0409; the version block with the values it was
designed with, under the program's own file name; the manifest as
configured; 64-bit, the right subsystem, aware of terminal servers, and
nothing to load but the system's own DLLs. velkast.dll: the same version
block as a DLL's, the four functions of the C API and no other export, and
the system's DLLs alone to load. The installer: its own version block.
"""
import struct
import sys

import pefile

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24
EN_US = 0x0409
TERMINAL_SERVER_AWARE = 0x8000
VFT_APP, VFT_DLL = 0x1, 0x2
C_API = ['velkast_decrypt', 'velkast_encrypt', 'velkast_status_message', 'velkast_version']
# The dialog's controls in template order: EDITTEXT twice, PUSHBUTTON twice,
# LTEXT; the resource compiler names their classes by atom.
EDIT, BUTTON, STATIC = 0x81, 0x80, 0x82
DIALOG_CLASSES = [EDIT, EDIT, BUTTON, BUTTON, STATIC]
SYSTEM_DLLS = {'advapi32.dll', 'comctl32.dll', 'gdi32.dll', 'kernel32.dll', 'msvcrt.dll',
               'ole32.dll', 'oleaut32.dll', 'shell32.dll', 'user32.dll'}

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def resources(pe):
    """{(type, id): (language, bytes)} of every resource."""
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for rid in rtype.directory.entries:
            for lang in rid.directory.entries:
                data = lang.data.struct
                key = (rtype.id if rtype.id is not None else str(rtype.name),
                       rid.id if rid.id is not None else str(rid.name))
                found[key] = (lang.id, pe.get_data(data.OffsetToData, data.Size))
    return found


def check_image(pe, name, version, file_type):
    """64-bit, the system's DLLs alone to load, resources in English (US), the
    version block."""
    expect(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_AMD64'],
           f'{name}: not 64-bit')
    dlls = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    expect(dlls <= SYSTEM_DLLS, f'{name}: loads {sorted(dlls - SYSTEM_DLLS)}')
    found = resources(pe)
    expect(all(lang == EN_US for lang, _ in found.values()),
           f'{name}: languages {sorted({lang for lang, _ in found.values()})}')
    check_version(pe, name, version, file_type)
    return found


def check_program(pe, name, subsystem, manifest, version):
    expect(pe.OPTIONAL_HEADER.Subsystem == subsystem, f'{name}: subsystem {pe.OPTIONAL_HEADER.Subsystem}')
    expect(pe.OPTIONAL_HEADER.DllCharacteristics & TERMINAL_SERVER_AWARE,
           f'{name}: not aware of terminal servers')
    found = check_image(pe, name, version, VFT_APP)
    expect(found.get((RT_MANIFEST, 1), (0, b''))[1] == open(manifest, 'rb').read(),
           f'{name}: manifest 1 is not the configured manifest')
    return found


def check_dialog(dialog):
    """A standard template (DLGTEMPLATE) whose controls' classes are atoms."""
    standard = len(dialog) > 18 and struct.unpack_from('<HH', dialog, 0)[1] != 0xFFFF
    expect(standard, 'dialog 102: missing, or an extended template')
    if not standard:
        return
    style, count = struct.unpack_from('<I', dialog, 0)[0], struct.unpack_from('<H', dialog, 8)[0]
    at = 18
    def skip_name(at):  # 0xFFFF and an ordinal, or a terminated string
        if struct.unpack_from('<H', dialog, at)[0] == 0xFFFF:
            return at + 4
        while struct.unpack_from('<H', dialog, at)[0] != 0:
            at += 2
        return at + 2
    at = skip_name(skip_name(skip_name(at)))  # menu, class, caption
    if style & 0x40:  # DS_SETFONT: point size and typeface
        at = skip_name(at + 2)
    classes = []
    for _ in range(count):
        at = (at + 3) & ~3
        at += 18  # style, extended style, x, y, cx, cy, id
        marker, atom = struct.unpack_from('<HH', dialog, at)
        classes.append(atom if marker == 0xFFFF else None)
        at = skip_name(skip_name(at))  # class, text
        at += 2 + struct.unpack_from('<H', dialog, at)[0]  # creation data
    expect(classes == DIALOG_CLASSES, f'dialog 102: control classes {classes}')


def check_icons(found, icon_file):
    ico = open(icon_file, 'rb').read()
    reserved, kind, count = struct.unpack_from('<HHH', ico, 0)
    group = found[(RT_GROUP_ICON, 128)][1]
    expect(struct.unpack_from('<HHH', group, 0) == (0, 1, count) and count == 9,
           'icon group 128: not the nine images of the icon file')
    for i in range(count):
        # File entry: w h colours reserved planes bits size offset.
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from('<BBBBHHII', ico, 6 + 16 * i)
        # Group entry: the same, with the image's resource id for the offset.
        gw, gh, gcolours, _, gplanes, gbits, gsize, image_id = struct.unpack_from(
            '<BBBBHHIH', group, 6 + 14 * i)
        expect((gw, gh, gcolours, gplanes, gbits, gsize) == (w, h, colours, planes, bits, size),
               f'icon group entry {i + 1}: {gw}x{gh} differs from the file')
        expect(image_id == i + 1, f'icon group entry {i + 1} names image {image_id}')
        expect(found.get((RT_ICON, i + 1), (0, b''))[1] == ico[offset:offset + size],
               f'icon image {i + 1} is not byte-equal to the icon file')


def version_block(pe, name, version):
    """The string tables and translation of the version block, after checking
    its fixed part's version numbers."""
    major, minor, patch, build = map(int, version.split('.'))
    fixed = pe.VS_FIXEDFILEINFO[0]
    for field in ('FileVersion', 'ProductVersion'):
        expect((getattr(fixed, field + 'MS'), getattr(fixed, field + 'LS')) ==
               (major << 16 | minor, patch << 16 | build), f'{name} version: fixed {field}')
    tables, translation = {}, None
    for info in pe.FileInfo[0]:
        if info.Key == b'StringFileInfo':
            tables = {t.LangID: t.entries for t in info.StringTable}
        elif info.Key == b'VarFileInfo':
            translation = info.Var[0].entry.get(b'Translation')
    return tables, translation


def check_version(pe, name, version, file_type):
    tables, translation = version_block(pe, name, version)
    fixed = pe.VS_FIXEDFILEINFO[0]
    expect((fixed.Signature, fixed.StrucVersion) == (0xFEEF04BD, 0x10000), f'{name} version: signature')
    expect((fixed.FileFlagsMask, fixed.FileFlags, fixed.FileOS, fixed.FileType, fixed.FileSubtype,
            fixed.FileDateMS, fixed.FileDateLS) == (0x3F, 0, 0x4, file_type, 0, 0, 0),
           f'{name} version: fixed fields')
    expect(list(tables) == [b'040904e4'], f'{name} version: string tables {list(tables)}')
    strings = tables.get(b'040904e4', {})
    for key, value in ((b'FileVersion', version), (b'ProductVersion', version),
                       (b'InternalName', name), (b'OriginalFilename', name)):
        expect(strings.get(key) == value.encode(), f'{name} version: {key.decode()} = {strings.get(key)}')
    for key in (b'CompanyName', b'FileDescription', b'LegalCopyright', b'ProductName'):
        expect(strings.get(key, b'').isascii() and strings.get(key), f'{name} version: {key.decode()}')
    expect(translation == '0x0409 0x04e4', f'{name} version: translation {translation}')


def check_library(pe, version):
    check_image(pe, 'velkast.dll', version, VFT_DLL)
    exports = sorted(e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols)
    expect(exports == C_API, f'velkast.dll exports {exports}')


def check_installer(pe, version):
    """What the installer's script gives its version block (NSIS writes one
    Unicode string table)."""
    tables, _ = version_block(pe, 'the installer', version)
    strings = next(iter(tables.values()), {})
    for key, value in ((b'ProductName', 'Velkast'), (b'ProductVersion', version),
                       (b'FileVersion', version), (b'CompanyName', 'The Velkast developers')):
        expect(strings.get(key) == value.encode(), f'the installer version: {key.decode()}')


def main(*args):
    if args[0] == '--installer':
        check_installer(pefile.PE(args[1]), args[2])
    else:
        velkast_exe, cli_exe, dll, icon_file, manifest, cli_manifest, version = args
        gui = pefile.SUBSYSTEM_TYPE['IMAGE_SUBSYSTEM_WINDOWS_GUI']
        cui = pefile.SUBSYSTEM_TYPE['IMAGE_SUBSYSTEM_WINDOWS_CUI']
        found = check_program(pefile.PE(velkast_exe), 'Velkast.exe', gui, manifest, version)
        check_program(pefile.PE(cli_exe), 'velkast-cli.exe', cui, cli_manifest, version)
        check_library(pefile.PE(dll), version)
        check_dialog(found.get((RT_DIALOG, 102), (0, b''))[1])
        check_icons(found, icon_file)

    for failure in failures:
        print(f'FAIL: {failure}', file=sys.stderr)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
