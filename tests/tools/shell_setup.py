#!/usr/bin/env python3
"""Sets and undoes the shell with the zip's files (res/shell) in a throwaway
copy of the Wine prefix: per row, seed what Windows ships with, install the
row's files in turn (rundll32 InstallHinfSection, as right-click Install does;
regedit /s for .reg), read the four places a shell is named after each, then
install Explorer-All.inf and expect Windows' own state again. Each .inf keeps
only the DefaultInstall section of the row's family, so that section alone must
do the whole job: "" for 95/98/Me (rundll32 runs as Windows 98; x86 prefix
only), .NT for NT 4.0 and 2000, the prefix's own .NTx86 or .NTamd64.
Usage: shell_setup.py STATE_DIR SHELL_FILES_DIR (STATE_DIR/arch: x86 or x64)"""
import os, shutil, subprocess, sys

CV = r"Software\Microsoft\Windows NT\CurrentVersion"
KEYS = ("HKCU\\" + CV + r"\Winlogon", "HKLM\\" + CV + r"\Winlogon",
        "HKLM\\" + CV + r"\IniFileMapping\system.ini\boot")
USR, SYS = "USR:" + CV + r"\Winlogon", r"SYS:Microsoft\Windows NT\CurrentVersion\Winlogon"
EXP = "Explorer.exe"
SEED = (r'REGEDIT4' '\n\n[HKEY_CURRENT_USER\\%s\\Winlogon]\n"Shell"=-\n\n'
        r'[HKEY_LOCAL_MACHINE\%s\Winlogon]' '\n"Shell"="Explorer.exe"\n\n'
        r'[HKEY_LOCAL_MACHINE\%s\IniFileMapping\system.ini\boot]' '\n"Shell"=%%s\n\n'
        r'[HKEY_CURRENT_USER\Software\Wine\AppDefaults\rundll32.exe]' '\n"Version"=%%s\n') % (CV, CV, CV)
EXE, QEXE = "EXE", '"EXE"'  # Orvalix.exe beside the installed file; quoted
WIN9X, SHIPPED = (EXP, None, EXP, None), (EXP, None, EXP, SYS)
NATIVE, SPACED = "native", "Program Files/Orvalix"  # the prefix's .NTx86/.NTamd64
# family, folder of the files, then each file with what follows it: SYSTEM.INI
# [boot] shell=, the user's Shell, the machine's Shell, the mapping (None: no
# value). Each row then ends with Explorer-All.inf and SHIPPED (WIN9X).
CASES = [
    ("", "ORVALIX", [("Orvalix-User.inf", (EXE, None, EXP, None)), ("Explorer-User.inf", WIN9X),
                     ("Orvalix-Machine.inf", (EXE, None, EXP, None)), ("Explorer-Machine.inf", WIN9X),
                     ("Orvalix-User.inf", (EXE, None, EXP, None))]),
    (".NT", "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.inf", (EXP, EXP, EXP, USR)),
                        ("Orvalix-Machine.inf", (EXP, EXP, QEXE, SYS)), ("Explorer-Machine.inf", (EXP, EXP, EXP, SYS))]),
    (NATIVE, "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.inf", (EXP, EXP, EXP, USR)),
                         ("Orvalix-Machine.inf", (EXP, EXP, QEXE, SYS))]),
    (NATIVE, "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.reg", (EXP, EXP, EXP, USR))]),
    (NATIVE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR)),
                         ("Explorer-Machine.inf", (EXP, QEXE, EXP, SYS))]),
    (NATIVE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR)),
                         ("Explorer-Machine.reg", (EXP, QEXE, EXP, SYS))]),
    (NATIVE, SPACED, [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR))]),
]


def only_section(text, keep):  # drops every DefaultInstall section but keep
    out, on = [], True
    for line in text.splitlines(True):
        if line.startswith("["):
            name = line.strip()[1:-1].lower()
            on = not name.startswith("defaultinstall") or name == keep.lower()
        if on:
            out.append(line)
    return "".join(out)


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

    def observe(folder):
        with open(ini, newline="") as f:
            text = f.read()
        boot = text[text.find("[boot]"):].split("\r\n")[1:]
        seen = [next((l[6:] for l in boot if l.startswith("shell=")), None)]
        for key in KEYS:
            out = wine("reg", "query", key, "/v", "Shell")
            seen.append(out.split("REG_SZ", 1)[1].strip() if "REG_SZ" in out else None)
        exe = win(folder + "/Orvalix.exe")
        return tuple({exe: EXE, '"%s"' % exe: QEXE}.get(v, v) for v in seen), text

    subprocess.run([os.path.dirname(__file__) + "/throwaway-prefix.sh", state, copy,
                    "drive_c/windows/system.ini"], check=True)
    with open(ini, newline="") as f:
        seeded = f.read() + "[boot]\r\nshell=Explorer.exe\r\n"
    arch = open(state + "/arch").read().strip() if os.path.exists(state + "/arch") else "x86"
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-p"], env=env, check=True)
    fails = skipped = 0
    for row, (family, folder, steps) in enumerate(CASES, 1):
        if family == "" and arch != "x86":
            skipped += 1
            continue
        section = "DefaultInstall" + {NATIVE: {"x86": ".NTx86", "x64": ".NTamd64"}[arch]}.get(family, family)
        folder = copy + "/" + folder
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(files, folder)
        for name in os.listdir(folder):
            if name.endswith(".inf"):
                with open(folder + "/" + name, "r+", newline="") as f:
                    text = only_section(f.read(), section)
                    f.seek(0), f.truncate(), f.write(text)
        with open(ini, "w", newline="") as f:
            f.write(seeded)
        with open(copy + "/seed.reg", "w") as f:  # 95/98/Me have no mapping
            f.write(SEED % ("-", '"win98"') if family == "" else SEED % ('"%s"' % SYS.replace("\\", "\\\\"), "-"))
        wine("regedit", "/s", win(copy + "/seed.reg"))
        for name, want in steps + [("Explorer-All.inf", WIN9X if family == "" else SHIPPED)]:
            if name.endswith(".reg"):
                wine("regedit", "/s", win(folder + "/" + name))
            else:  # a path with a blank goes on unquoted, as from Explorer's Install verb, through cmd,
                # which waits for a GUI program only in a batch file
                with open(copy + "/install.bat", "w", newline="\r\n") as f:
                    f.write("rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 %s\n" % win(folder + "/" + name))
                wine("cmd", "/c", win(copy + "/install.bat"))
            got, text = observe(folder)
            if got != want:
                fails += 1
                print(f"FAIL row {row} ({section}) {name}:\n  want {want}\n  got  {got}")
        if text != seeded:
            fails += 1
            print(f"FAIL row {row} ({section}): SYSTEM.INI is not as it was:\n{text}")
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-k"], env=env)
    shutil.rmtree(copy, ignore_errors=True)
    print(f"{len(CASES) - skipped} set/undo sequences in the {arch} prefix, {fails} failed"
          + (f"; {skipped} skipped: 95/98/Me rows run in the x86 prefix" if skipped else ""))
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
