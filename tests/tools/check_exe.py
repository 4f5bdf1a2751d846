#!/usr/bin/env python3
"""Checks that a built exe can load and run on the oldest Windows of its kind.

--arch x86 (the default): PE32 for i386, OS and subsystem version 4.0 (Windows
95 and NT 4.0), no instruction newer than the i486.
--arch x64: PE32+ for x86-64, OS and subsystem version 5.2 (XP x64 / Server
2003 SP1), a non-empty exception directory (the x64 ABI unwinds through it),
no instruction beyond the first x86-64 processors (SSE2 at most).
Both: GUI, no delay-load, bound-import or CLR directory, DLLs only from a fixed
system set, every import in the 95 RTM / NT 4.0 RTM allowlist (stricter than
x64 Windows needs, and one list for both builds), imports that are stubs on 9x
only where the code calls them on NT alone, the imports exactly as reviewed,
and (with a link map) nothing linked from a C or C++ runtime library.
--manifest: the application manifest (resource 1 of type RT_MANIFEST) is
well-formed and names the build's processor, Common Controls 6, asInvoker
without UI access and each supportedOS; it holds nothing Windows XP is not
documented to know or to pass over, and no tag declares two namespaces.
Exit status 0 when every check passes; each failure is printed.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
from xml.etree import ElementTree
from xml.parsers import expat

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll", "comdlg32.dll",
               "ole32.dll"}
# Called only after the NT family was asked for: harmless stubs on the 9x family.
NT_ONLY = {"advapi32.dll OpenProcessToken", "advapi32.dll LookupPrivilegeValueA",
           "advapi32.dll AdjustTokenPrivileges", "advapi32.dll GetTokenInformation"}
ARCHES = {
    # header facts, and the instructions the oldest processor lacks
    "x86": {
        "Magic": "010b", "format": "pei-i386", "version": "4.0", "cpu": "the i486",
        "manifest": "x86",
        # P6 and later, and any SSE/MMX register use
        "newer": r"\t(cmov\w*|fcomi\w*|fucomi\w*|fcmov\w*|rdtsc|cpuid|sysenter)\b"
                 r"|%xmm|%mm\d|%ymm",
    },
    "x64": {
        "Magic": "020b", "format": "pei-x86-64", "version": "5.2", "cpu": "the x86-64 baseline",
        "manifest": "amd64",
        # SSE3, SSSE3, SSE4.x, POPCNT/LZCNT, BMI1/2, MOVBE, CMPXCHG16B, LAHF/SAHF
        # (missing in 64-bit mode on the first x86-64 processors), AVX and later
        "newer": r"\t(addsubp[sd]|h(add|sub)p[sd]|lddqu|mov(ddup|s[hl]dup)|fisttp\w*|monitor"
                 r"|mwait|pshufb|ph(add|sub)\w+|pmaddubsw|pmulhrsw|psign[bwd]|pabs[bwd]|palignr"
                 r"|p?blend\w*|dpp[sd]|extractps|insertps|movntdqa|mpsadbw|packusdw|pcmp[eg]tq"
                 r"|pcmpeqq|pextr[bdq]|pinsr[bdq]|phminposuw|pm(ax|in)(s[bd]|u[dw])|pmov[sz]x\w*"
                 r"|pmul(dq|ld)|ptest|round[ps][sd]|pcmp[ei]str[im]|crc32\w*|popcnt|lzcnt|tzcnt"
                 r"|andn|bextr|blsi|blsmsk|blsr|bzhi|mulx|pdep|pext|rorx|sarx|shlx|shrx|movbe"
                 r"|cmpxchg16b|lahf|sahf|v[a-z]\w*|kmov\w*)\b|%ymm|%zmm",
    },
}
V1, V2, OS = ("{urn:schemas-microsoft-com:%s}" % n for n in ("asm.v1", "asm.v2", "compatibility.v1"))
# XP's own manifest elements, trustInfo in asm.v2 (the form Microsoft gives
# for XP) and the compatibility section (which XP ignores).
XP_SAFE = {V1 + t for t in ("assembly", "assemblyIdentity", "dependency", "dependentAssembly")} | \
    {V2 + t for t in ("trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel")} | \
    {OS + t for t in ("compatibility", "application", "supportedOS")}
SUPPORTED_OS = {"Windows 7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "Windows 10": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
RUNTIME_LIBS = re.compile(r"lib(stdc\+\+|supc\+\+|mingw32|mingwex|msvcrt|moldname|gcc_s|"
                          r"winpthread)[^/\s]*\.a|crt2\.o|crtbegin\.o|dllcrt2\.o")


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def header_checks(dump, arch):
    fails = []
    major, minor = arch["version"].split(".")
    want = {
        "Magic": arch["Magic"], "MajorOSystemVersion": major, "MinorOSystemVersion": minor,
        "MajorSubsystemVersion": major, "MinorSubsystemVersion": minor,
    }
    fields = dict(re.findall(r"^(\w+)\s+(\S+)", dump, re.M))
    for key, value in want.items():
        if fields.get(key) != value:
            fails.append(f"{key} is {fields.get(key)}, wants {value}")
    if f"file format {arch['format']}" not in dump:
        fails.append(f"not a {arch['format']} image")
    if arch["format"] == "pei-x86-64":
        m = re.search(r"^Entry \w+ [0-9a-f]+ ([0-9a-f]+) Exception Directory", dump, re.M)
        if not m or not int(m.group(1), 16):
            fails.append("no unwind data: the Exception Directory is empty")
    if not re.search(r"^Subsystem\s+00000002", dump, re.M):
        fails.append("not a Windows GUI program")
    for name in ("Delay Import Directory", "Bound Import Directory", "CLR Runtime Header"):
        m = re.search(rf"^Entry \w+ ([0-9a-f]+) ([0-9a-f]+) {name}", dump, re.M)
        if m and int(m.group(2), 16):
            fails.append(f"has a {name}")
    return fails


def manifest_of(path):
    """Resource 1 of type RT_MANIFEST (24), its first language; None if absent."""
    with open(path, "rb") as f:
        pe = f.read()
    at = struct.unpack_from("<I", pe, 0x3C)[0]
    (sections,), (optional,) = struct.unpack_from("<H", pe, at + 6), struct.unpack_from("<H", pe, at + 20)
    header = at + 24
    resources = header + (96 if pe[header] == 0x0B and pe[header + 1] == 0x01 else 112) + 16
    table = [struct.unpack_from("<IIII", pe, header + optional + 40 * i + 8) for i in range(sections)]
    def offset(rva):
        return next(raw + rva - va for size, va, rawsize, raw in table if va <= rva < va + max(size, rawsize))
    base = offset(struct.unpack_from("<I", pe, resources)[0])
    def entry(directory, wanted):
        named, ids = struct.unpack_from("<HH", pe, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", pe, base + directory + 16 + 8 * i)
            if wanted in (None, name):
                return target & 0x7FFFFFFF
    found = 0
    for wanted in (24, 1, None):
        found = entry(found, wanted)
        if found is None:
            return None
    rva, size = struct.unpack_from("<II", pe, base + found)
    return pe[offset(rva):offset(rva) + size]


def manifest_checks(text, processor):
    if text is None:
        return ["no application manifest"]
    tags = []
    parser = expat.ParserCreate()
    parser.StartElementHandler = lambda tag, attrs: tags.append(
        (tag, [a for a in attrs if a == "xmlns" or a.startswith("xmlns:")]))
    try:
        parser.Parse(text, True)
        root = ElementTree.fromstring(text)
    except (expat.ExpatError, ElementTree.ParseError) as e:
        return [f"the manifest is not well-formed XML: {e}"]
    fails = [f"{tag} declares {len(ns)} namespaces (XP SP2 restarts, KB921337)"
             for tag, ns in tags if len(ns) > 1]
    fails += [f"{e.tag} is not known to Windows XP nor documented as ignored by it"
              for e in root.iter() if e.tag not in XP_SAFE]
    arch = f"[@processorArchitecture='{processor}']"
    wants = {f"the processor {processor}": f"{V1}assemblyIdentity{arch}",
             "Common Controls 6": f"{V1}dependency/{V1}dependentAssembly/{V1}assemblyIdentity"
             f"[@name='Microsoft.Windows.Common-Controls'][@version='6.0.0.0']"
             f"[@publicKeyToken='6595b64144ccf1df']{arch}",
             "asInvoker without UI access": f"{V2}trustInfo/{V2}security/{V2}requestedPrivileges/"
             f"{V2}requestedExecutionLevel[@level='asInvoker'][@uiAccess='false']"}
    wants.update({name: f"{OS}compatibility/{OS}application/{OS}supportedOS[@Id='{guid}']"
                  for name, guid in SUPPORTED_OS.items()})
    return fails + [f"the manifest does not name {what}" for what, path in wants.items()
                    if root.find(path) is None]


def imports(dump):
    found, dll = [], None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            continue
        m = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\S+)$", line)
        if dll and m:
            found.append(f"{dll} {m.group(1)}")
        elif dll and not line.strip():
            pass
    return found


def listed(path):
    with open(path, encoding="utf-8") as f:
        return {" ".join(l.split()[:2]) for l in f if l.strip() and not l.startswith("#")}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--arch", choices=ARCHES, default="x86")
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--allowlist", required=True)
    ap.add_argument("--stubs", required=True)
    ap.add_argument("--imports", help="the reviewed list of imports")
    ap.add_argument("--map", help="the linker's map of the exe")
    ap.add_argument("--max-size", type=int, help="largest allowed file size in bytes")
    ap.add_argument("--manifest", action="store_true", help="check the application manifest")
    ap.add_argument("exe")
    a = ap.parse_args()

    dump = run(a.objdump, "-p", a.exe)
    arch = ARCHES[a.arch]
    fails = header_checks(dump, arch)
    size = os.path.getsize(a.exe)
    if a.max_size and size > a.max_size:
        fails.append(f"{size} bytes, more than {a.max_size}")
    for m in re.finditer(r"^\s*\d+ (\S+) .*\n\s+(.*)$", run(a.objdump, "-h", a.exe), re.M):
        if "CODE" in m.group(2) and "READONLY" not in m.group(2):
            fails.append(f"section {m.group(1)} is both writable and executable")
    found = imports(dump)
    dlls = {i.split()[0] for i in found}
    for dll in sorted(dlls - SYSTEM_DLLS):
        fails.append(f"imports from {dll}, not one of the system DLLs")
    allowed, stubs = listed(a.allowlist), listed(a.stubs)
    for imp in found:
        if imp not in allowed:
            fails.append(f"{imp} is not present on Windows 95 RTM and NT 4.0 RTM")
        if imp in stubs and imp not in NT_ONLY:
            fails.append(f"{imp} is a stub on Windows 9x")
    if a.imports:
        expected = listed(a.imports)
        for imp in sorted(set(found) - expected):
            fails.append(f"new import {imp}: review it, then add it to {a.imports}")
        for imp in sorted(expected - set(found)):
            fails.append(f"{imp} is no longer imported: take it out of {a.imports}")
    for line in run(a.objdump, "-d", a.exe).splitlines():
        if re.search(arch["newer"], line):
            fails.append(f"instruction newer than {arch['cpu']}: {line.strip()}")
            break
    if a.manifest:
        fails += manifest_checks(manifest_of(a.exe), arch["manifest"])
    if a.map:
        with open(a.map, encoding="utf-8", errors="replace") as f:
            hits = sorted({m.group(0) for m in RUNTIME_LIBS.finditer(f.read())})
        for lib in hits:
            fails.append(f"linked from a runtime library: {lib}")
    for f in fails:
        print("FAIL:", f)
    print(f"{a.exe}: {size} bytes, {len(found)} imports from {len(dlls)} DLLs, "
          f"{'ok' if not fails else str(len(fails)) + ' problems'}")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
