#!/usr/bin/env python3
"""Setting and undoing the shell with the files the zip ships (res/shell).

In a throwaway copy of the build tree's Wine prefix, each row seeds the values
Windows ships with, installs one file as right-click Install does (or merges a
.reg file as a double click does), reads the four places a shell is named,
undoes, and reads them again. The 9x rows run rundll32 as Windows 98, so
setupapi takes the undecorated sections (SYSTEM.INI), as 95, 98 and Me do;
the others take the .NT sections, as NT 4.0 and later do.
Usage: shell_setup.py STATE_DIR SHELL_FILES_DIR
"""
import os
import shutil
import subprocess
import sys

CV = r"Software\Microsoft\Windows NT\CurrentVersion"
KEYS = (r"HKCU" "\\" + CV + r"\Winlogon",  # the user's Shell
        r"HKLM" "\\" + CV + r"\Winlogon",  # the machine's Shell
        r"HKLM" "\\" + CV + r"\IniFileMapping\system.ini\boot")  # where Shell is read
USR, SYS = "USR:" + CV + r"\Winlogon", "SYS:" + CV[len("Software\\"):] + r"\Winlogon"
EXP, EXE = "Explorer.exe", "EXE"  # EXE: Orvalix.exe in the files' own folder
SEEDED_INI = "[boot]\r\nshell=Explorer.exe\r\n"
# What each row starts from; the 9x rows have no mapping (95, 98 and Me have no
# registry behind SYSTEM.INI) and run rundll32 as Windows 98.
SEED = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Winlogon]
"Shell"=-

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Winlogon]
"Shell"="Explorer.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\system.ini\boot]
"Shell"={mapping}

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\rundll32.exe]
"Version"={version}
"""

# family, set with, undo with, then the four places after setting and after
# undoing: SYSTEM.INI [boot] shell=, user's Shell, machine's Shell, mapping
# (None: no value). The user's undo writes Explorer.exe and keeps the mapping:
# which shell a user without a value gets under USR: is not documented, and
# the mapping is a machine setting that the user may not be allowed to write.
CASES = [
    ("9x", "Orvalix-User.inf", "Explorer-User.inf", (EXE, None, EXP, None), (EXP, None, EXP, None)),
    ("9x", "Orvalix-Machine.inf", "Explorer-Machine.inf", (EXE, None, EXP, None), (EXP, None, EXP, None)),
    ("nt", "Orvalix-User.inf", "Explorer-User.inf", (EXP, EXE, EXP, USR), (EXP, EXP, EXP, USR)),
    ("nt", "Orvalix-User.inf", "Explorer-User.reg", (EXP, EXE, EXP, USR), (EXP, EXP, EXP, USR)),
    ("nt", "Orvalix-Machine.inf", "Explorer-Machine.inf", (EXP, None, EXE, SYS), (EXP, None, EXP, SYS)),
    ("nt", "Orvalix-Machine.inf", "Explorer-Machine.reg", (EXP, None, EXE, SYS), (EXP, None, EXP, SYS)),
]


def winpath(path):
    return "Z:" + path.replace("/", "\\")


def main():
    state, files = (os.path.abspath(a) for a in sys.argv[1:3])
    copy = os.path.join(state, "shell-setup")
    here = os.path.dirname(os.path.abspath(__file__))
    env = dict(os.environ, WINEPREFIX=copy + "/prefix", HOME=copy + "/home", WINEDEBUG="-all",
               WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
    ini = copy + "/prefix/drive_c/windows/system.ini"
    fails = 0

    def wine(*args):
        # Through a file: Wine's helper processes inherit the output and outlive
        # the call, and a pipe would stay open until they end.
        with open(copy + "/out", "w+") as out:
            subprocess.run(["wine", *args], env=env, stdout=out, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL)
            out.seek(0)
            return out.read()

    def observe(exe):
        with open(ini, newline="") as f:
            text = f.read()
        boot = text[text.find("[boot]"):].split("\r\n")
        seen = [next((l[6:] for l in boot[1:] if l.startswith("shell=")), None)]
        for key in KEYS:
            out = wine("reg", "query", key, "/v", "Shell")
            seen.append(out.split("REG_SZ", 1)[1].strip() if "REG_SZ" in out else None)
        return tuple(EXE if v == exe else v for v in seen), text

    subprocess.run([here + "/throwaway-prefix.sh", state, copy, "drive_c/windows/system.ini"],
                   check=True)
    shutil.copytree(files, copy + "/files")
    exe = winpath(copy + "/files/Orvalix.exe")
    with open(ini, newline="") as f:
        seeded = f.read() + SEEDED_INI
    subprocess.run(["wineserver", "-p"], env=env, check=True)
    for family, setter, undoer, after_set, after_undo in CASES:
        with open(ini, "w", newline="") as f:
            f.write(seeded)
        nt = family == "nt"
        with open(copy + "/seed.reg", "w") as f:
            f.write(SEED.format(mapping='"%s"' % SYS.replace("\\", "\\\\") if nt else "-",
                                version="-" if nt else '"win98"'))
        wine("regedit", "/s", winpath(copy + "/seed.reg"))
        for name, want in ((setter, after_set), (undoer, after_undo)):
            path = winpath(copy + "/files/" + name)
            if name.endswith(".reg"):
                wine("regedit", "/s", path)
            else:
                wine("rundll32", "setupapi.dll,InstallHinfSection", "DefaultInstall", "132", path)
            got, text = observe(exe)
            if got != want:
                fails += 1
                print(f"FAIL {family} {name}: want {want}\n{' ' * (len(family + name) + 7)}got  {got}")
        if text != seeded:
            fails += 1
            print(f"FAIL {family} {undoer}: SYSTEM.INI is not as it was:\n{text}")
    subprocess.run(["wineserver", "-k"], env=env)
    shutil.rmtree(copy, ignore_errors=True)
    print(f"{len(CASES)} set/undo round trips, {fails} failed")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
