#!/usr/bin/env python3
"""Sets and undoes the shell with the zip's files (res/shell) in a throwaway
copy of the Wine prefix: per row, seed what Windows ships with, install the
file (rundll32 InstallHinfSection, as right-click Install does; regedit /s
for .reg), read the four places a shell is named, undo, read again. 9x rows
run rundll32 as Windows 98, so setupapi takes the undecorated sections.
Usage: shell_setup.py STATE_DIR SHELL_FILES_DIR"""
import os, shutil, subprocess, sys

CV = r"Software\Microsoft\Windows NT\CurrentVersion"
KEYS = ("HKCU\\" + CV + r"\Winlogon", "HKLM\\" + CV + r"\Winlogon",
        "HKLM\\" + CV + r"\IniFileMapping\system.ini\boot")
USR, SYS = "USR:" + CV + r"\Winlogon", r"SYS:Microsoft\Windows NT\CurrentVersion\Winlogon"
EXP, EXE = "Explorer.exe", "EXE"  # EXE: Orvalix.exe beside the installed file
SEED = (r'REGEDIT4' '\n\n[HKEY_CURRENT_USER\\%s\\Winlogon]\n"Shell"=-\n\n'
        r'[HKEY_LOCAL_MACHINE\%s\Winlogon]' '\n"Shell"="Explorer.exe"\n\n'
        r'[HKEY_LOCAL_MACHINE\%s\IniFileMapping\system.ini\boot]' '\n"Shell"=%%s\n\n'
        r'[HKEY_CURRENT_USER\Software\Wine\AppDefaults\rundll32.exe]' '\n"Version"=%%s\n') % (CV, CV, CV)
# family, set with, undo with; then after each: SYSTEM.INI [boot] shell=, the
# user's Shell, the machine's Shell, the mapping (None: no value). The user's
# undo writes Explorer.exe and keeps the mapping: what a user without a value
# gets under USR: is undocumented, and the mapping needs an administrator.
CASES = [
    ("9x", "Orvalix-User.inf", "Explorer-User.inf", (EXE, None, EXP, None), (EXP, None, EXP, None)),
    ("9x", "Orvalix-Machine.inf", "Explorer-Machine.inf", (EXE, None, EXP, None), (EXP, None, EXP, None)),
    ("nt", "Orvalix-User.inf", "Explorer-User.inf", (EXP, EXE, EXP, USR), (EXP, EXP, EXP, USR)),
    ("nt", "Orvalix-User.inf", "Explorer-User.reg", (EXP, EXE, EXP, USR), (EXP, EXP, EXP, USR)),
    ("nt", "Orvalix-Machine.inf", "Explorer-Machine.inf", (EXP, None, EXE, SYS), (EXP, None, EXP, SYS)),
    ("nt", "Orvalix-Machine.inf", "Explorer-Machine.reg", (EXP, None, EXE, SYS), (EXP, None, EXP, SYS)),
]


def main():
    state, files = (os.path.abspath(a) for a in sys.argv[1:3])
    copy = state + "/shell-setup"
    env = dict(os.environ, WINEPREFIX=copy + "/prefix", HOME=copy + "/home", WINEDEBUG="-all",
               WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
    ini = copy + "/prefix/drive_c/windows/system.ini"
    win = lambda path: "Z:" + path.replace("/", "\\")

    def wine(*args):  # through a file: Wine's helpers inherit a pipe and outlive the call
        with open(copy + "/out", "w+") as out:
            subprocess.run([os.environ.get("WINE", "wine"), *args], env=env, stdout=out, stderr=out, stdin=subprocess.DEVNULL)
            out.seek(0)
            return out.read()

    def observe():
        with open(ini, newline="") as f:
            text = f.read()
        boot = text[text.find("[boot]"):].split("\r\n")[1:]
        seen = [next((l[6:] for l in boot if l.startswith("shell=")), None)]
        for key in KEYS:
            out = wine("reg", "query", key, "/v", "Shell")
            seen.append(out.split("REG_SZ", 1)[1].strip() if "REG_SZ" in out else None)
        return tuple(EXE if v == win(copy + "/files/Orvalix.exe") else v for v in seen), text

    subprocess.run([os.path.dirname(__file__) + "/throwaway-prefix.sh", state, copy,
                    "drive_c/windows/system.ini"], check=True)
    shutil.copytree(files, copy + "/files")
    with open(ini, newline="") as f:
        seeded = f.read() + "[boot]\r\nshell=Explorer.exe\r\n"
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-p"], env=env, check=True)
    fails = 0
    for family, setter, undoer, after_set, after_undo in CASES:
        with open(ini, "w", newline="") as f:
            f.write(seeded)
        with open(copy + "/seed.reg", "w") as f:  # 95/98/Me have no mapping
            nt = family == "nt"
            f.write(SEED % ('"%s"' % SYS.replace("\\", "\\\\") if nt else "-", "-" if nt else '"win98"'))
        wine("regedit", "/s", win(copy + "/seed.reg"))
        for name, want in ((setter, after_set), (undoer, after_undo)):
            path = win(copy + "/files/" + name)
            if name.endswith(".reg"):
                wine("regedit", "/s", path)
            else:
                wine("rundll32", "setupapi.dll,InstallHinfSection", "DefaultInstall", "132", path)
            got, text = observe()
            if got != want:
                fails += 1
                print(f"FAIL {family} {name}:\n  want {want}\n  got  {got}")
        if text != seeded:
            fails += 1
            print(f"FAIL {family} {undoer}: SYSTEM.INI is not as it was:\n{text}")
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-k"], env=env)
    shutil.rmtree(copy, ignore_errors=True)
    print(f"{len(CASES)} set/undo round trips, {fails} failed")
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
