#!/usr/bin/env python3
"""Sets and undoes the shell with the zip's files (res/shell) in a throwaway
copy of the Wine prefix: per row, seed what Windows ships with, install the
row's files in turn (rundll32 InstallHinfSection, as right-click Install does;
regedit /s for .reg), read the places a shell is named after each (in the x64
prefix the machine's values in both registry views), then install
Explorer-All.inf and expect Windows' own state again. A row takes one build
folder's files, as the zip does (res/shell and res/shell/x86 or /x64), whole
or with each .inf cut down to the DefaultInstall section of one family, so
that that section alone must do the whole job: "" for 95/98/Me (rundll32 runs
as Windows 98; x86 prefix only), .NT for NT 4.0 and 2000, the prefix's own
.NTx86 or .NTamd64. First, without Wine: no section an older setup reads
names XP's flags for the registry views, and .NTamd64 writes each machine
value to both views by name (0x1000 and 0x4000), whichever setup runs it.
--wow64 (x64 prefix) runs the rows that also use the 32-bit setup,
C:\\windows\\syswow64\\rundll32.exe; they need 32-bit Wine and a host that runs
32-bit code, else the test is skipped (77). Otherwise a last row removes
another user's value with README.txt's reg delete from a hive under
HKEY_USERS: Wine 8's reg has no load or unload, so HIVE_EXE
(tests/tools/hive.cpp) loads a Wine-format hive (not an NTUSER.DAT) with
RegLoadKey, and saves and unloads it after.
Usage: shell_setup.py STATE_DIR SHELL_DIR (HIVE_EXE | --wow64)"""
import os, shutil, subprocess, sys

CV = r"Software\Microsoft\Windows NT\CurrentVersion"
KEYS = ("HKCU\\" + CV + r"\Winlogon", "HKLM\\" + CV + r"\Winlogon",
        "HKLM\\" + CV + r"\IniFileMapping\system.ini\boot")
USR, SYS = "USR:" + CV + r"\Winlogon", r"SYS:Microsoft\Windows NT\CurrentVersion\Winlogon"
EXP = "Explorer.exe"
EXE, QEXE = "EXE", '"EXE"'  # Orvalix.exe beside the installed file; quoted
WIN9X, SHIPPED = (EXP, None, EXP, None), (EXP, None, EXP, SYS)
OWN, NATIVE, WHOLE = "own", "native", None  # the prefix's build folder; .NTx86/.NTamd64; uncut
SPACED = "Program Files/Orvalix"
# files, section kept, folder of the files, then each file (32: the 32-bit
# setup) with what follows it: SYSTEM.INI [boot] shell=, the user's Shell, the
# machine's Shell, the mapping (None: no value), and in the x64 prefix the
# last two in the 32-bit copy (the same unless given). Each row then ends with
# Explorer-All.inf and SHIPPED (WIN9X).
CASES = [
    ("x86", "", "ORVALIX", [("Orvalix-User.inf", (EXE, None, EXP, None)), ("Explorer-User.inf", WIN9X),
                            ("Orvalix-Machine.inf", (EXE, None, EXP, None)), ("Explorer-Machine.inf", WIN9X),
                            ("Orvalix-User.inf", (EXE, None, EXP, None))]),
    ("x86", ".NT", "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.inf", (EXP, EXP, EXP, USR)),
                               ("Orvalix-Machine.inf", (EXP, EXP, QEXE, SYS)), ("Explorer-Machine.inf", (EXP, EXP, EXP, SYS))]),
    (OWN, NATIVE, "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.inf", (EXP, EXP, EXP, USR)),
                              ("Orvalix-Machine.inf", (EXP, EXP, QEXE, SYS))]),
    (OWN, NATIVE, "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Explorer-User.reg", (EXP, EXP, EXP, USR))]),
    (OWN, NATIVE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR)),
                              ("Explorer-Machine.inf", (EXP, QEXE, EXP, SYS))]),
    (OWN, NATIVE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR)),
                              ("Explorer-Machine.reg", (EXP, QEXE, EXP, SYS, QEXE, USR))]),  # its Registry Editor's view
    (OWN, NATIVE, SPACED, [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR))]),
    (OWN, NATIVE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)), ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR)),
                              ("Explorer-User.inf", (EXP, EXP, QEXE, USR)), ("Explorer-Machine.inf", (EXP, EXP, EXP, SYS))]),
]
WOW64 = [  # x64's files refuse the 32-bit setup, but for Explorer-User.inf (one HKCU for both)
    (OWN, WHOLE, "Orvalix", [("Orvalix-User.inf", (EXP, QEXE, EXP, USR)), ("Orvalix-Machine.inf", (EXP, QEXE, QEXE, SYS)),
                             ("32:Explorer-Machine.inf", (EXP, QEXE, QEXE, SYS)), ("32:Explorer-All.inf", (EXP, QEXE, QEXE, SYS)),
                             ("32:Orvalix-User.inf", (EXP, QEXE, QEXE, SYS)), ("32:Explorer-User.inf", (EXP, EXP, QEXE, SYS))]),
    (OWN, WHOLE, "Orvalix", [("32:Orvalix-Machine.inf", SHIPPED), ("32:Orvalix-User.inf", SHIPPED)]),
    # x86's files: the 32-bit setup reaches the 32-bit copy only, as they say
    ("x86", WHOLE, "Orvalix", [("Orvalix-Machine.inf", (EXP, None, QEXE, SYS)),
                               ("32:Explorer-Machine.inf", (EXP, None, QEXE, SYS, EXP, SYS)),
                               ("32:Explorer-All.inf", (EXP, None, QEXE, SYS, EXP, SYS)),
                               ("Orvalix-User.inf", (EXP, QEXE, QEXE, USR, EXP, USR)),
                               ("32:Explorer-User.inf", (EXP, EXP, QEXE, USR, EXP, USR))]),
    ("x86", WHOLE, "Orvalix", [("32:Orvalix-Machine.inf", (EXP, None, EXP, SYS, QEXE, SYS)),
                               ("32:Orvalix-User.inf", (EXP, QEXE, EXP, SYS, QEXE, USR))]),
]


def inf_sections(path):
    out, name = {}, None
    for line in open(path):
        line = line.split(";", 1)[0].strip()
        if line.startswith("["):
            name = line[1:-1].lower()
            out.setdefault(name, [])
        elif line and name:
            out[name].append(line)
    return out


def check_flags(folder):  # XP's view flags: out of older setups' sections, both in .NTamd64's
    bad = []
    for f in sorted(n for n in os.listdir(folder) if n.endswith(".inf")):
        s = inf_sections(folder + "/" + f)
        for install in (n for n in s if n.startswith("defaultinstall")):
            rows = [e.split(",") for l in s[install] if l.lower().startswith("addreg")
                    for n in l.split("=", 1)[1].split(",") for e in s[n.strip().lower()]]
            views = {}
            for e in rows:
                flags = int(e[3] or "0", 0)
                views.setdefault((*e[:3], flags & ~0x5000, *e[4:]), set()).add(flags & 0x5000)
            for entry, seen in views.items():
                want = {0x1000, 0x4000} if install == "defaultinstall.ntamd64" and entry[0] == "HKLM" else {0}
                if seen != want:
                    bad.append(f"{f} [{install}] {','.join(map(str, entry))}: views {sorted(map(hex, seen))}, not {sorted(map(hex, want))}")
    return bad


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
    wow64 = sys.argv[3] == "--wow64"
    arch = open(state + "/arch").read().strip() if os.path.exists(state + "/arch") else "x86"
    here = os.path.dirname(os.path.abspath(__file__))
    if wow64:
        skip = ("the 32-bit setup runs in the x64 prefix only" if arch != "x64" else
                "this host runs no 32-bit x86 code" if subprocess.run(["sh", here + "/../../cmake/host-runs-x86.sh"]).returncode else
                "the prefix has no 32-bit setup (syswow64\\rundll32.exe; 32-bit Wine, wine32, is missing)"
                if not os.path.exists(state + "/prefix/drive_c/windows/syswow64/rundll32.exe") else "")
        if skip:
            print("skipped: " + skip)
            return 77
    fails = 0
    for problem in ([] if wow64 else check_flags(files + "/x86") + check_flags(files + "/x64")):
        fails += 1
        print("FAIL " + problem)
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

    def value(key, *view):
        out = wine("reg", "query", key, "/v", "Shell", *view)
        return out.split("REG_SZ", 1)[1].strip() if "REG_SZ" in out else None

    def install(path, setup="rundll32"):  # a path with a blank goes on unquoted, as from Explorer's
        # Install verb, through cmd, which waits for a GUI program only in a batch file
        with open(copy + "/install.bat", "w", newline="\r\n") as f:
            f.write("%s setupapi.dll,InstallHinfSection DefaultInstall 132 %s\n" % (setup, win(path)))
        wine("cmd", "/c", win(copy + "/install.bat"))

    def observe(folder, both):
        with open(ini, newline="") as f:
            text = f.read()
        boot = text[text.find("[boot]"):].split("\r\n")[1:]
        seen = [next((l[6:] for l in boot if l.startswith("shell=")), None)]
        seen += [value(key) for key in KEYS] + ([value(key, "/reg:32") for key in KEYS[1:]] if both else [])
        exe = win(folder + "/Orvalix.exe")
        return tuple({exe: EXE, '"%s"' % exe: QEXE}.get(v, v) for v in seen), text

    subprocess.run([here + "/throwaway-prefix.sh", state, copy, "drive_c/windows/system.ini"], check=True)
    with open(ini, newline="") as f:
        seeded = f.read() + "[boot]\r\nshell=Explorer.exe\r\n"
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-p"], env=env, check=True)
    flag32 = False
    if arch == "x64":  # does this setupapi write the 32-bit copy with FLG_ADDREG_32BITKEY?
        with open(copy + "/probe.inf", "w") as f:
            f.write('[Version]\nSignature="$Chicago$"\n[DefaultInstall.NTamd64]\nAddReg=P\n[P]\n'
                    'HKLM,Software\\OrvalixProbe,Shell,0x4000,"1"\n')
        install(copy + "/probe.inf")
        flag32 = bool(value("HKLM\\Software\\OrvalixProbe", "/reg:32")) and not value("HKLM\\Software\\OrvalixProbe")
    ran = skipped = unseen = 0
    for row, (which, keep, folder, steps) in enumerate(WOW64 if wow64 else CASES, 1):
        if keep == "" and arch != "x86":
            skipped += 1
            continue
        ran += 1
        own = {"x86": ".NTx86", "x64": ".NTamd64"}[arch]
        section = "whole files" if keep is WHOLE else "DefaultInstall" + {NATIVE: own}.get(keep, keep)
        both = arch == "x64" and keep in (NATIVE, WHOLE)
        folder = copy + "/" + folder
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(files, folder, ignore=lambda d, names: [n for n in names if os.path.isdir(d + "/" + n)])
        sub = files + "/" + (arch if which == OWN else which)
        for name in os.listdir(sub):
            with open(sub + "/" + name, newline="") as f:
                text = f.read()
            with open(folder + "/" + name, "w", newline="") as f:
                f.write(text if keep is WHOLE else only_section(text, section))
        with open(ini, "w", newline="") as f:
            f.write(seeded)
        with open(copy + "/seed.reg", "w") as f:  # 95/98/Me have no mapping
            mapping = "-" if keep == "" else '"%s"' % SYS.replace("\\", "\\\\")
            f.write('REGEDIT4\n\n[HKEY_CURRENT_USER\\%s\\Winlogon]\n"Shell"=-\n' % CV)
            for node in ["\\"] + (["\\Wow6432Node\\"] if arch == "x64" else []):  # the 32-bit copy's place
                f.write('\n[HKEY_LOCAL_MACHINE\\Software%sMicrosoft\\Windows NT\\CurrentVersion\\Winlogon]\n"Shell"="%s"\n'
                        '\n[HKEY_LOCAL_MACHINE\\Software%sMicrosoft\\Windows NT\\CurrentVersion\\IniFileMapping\\'
                        'system.ini\\boot]\n"Shell"=%s\n' % (node, EXP, node, mapping))
            f.write('\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\rundll32.exe]\n"Version"=%s\n'
                    % ('"win98"' if keep == "" else "-"))
        wine("regedit", "/s", win(copy + "/seed.reg"))
        before, unknown = SHIPPED[2:], set()  # the 32-bit copy's cells this Wine cannot have written
        for name, want in steps + [("Explorer-All.inf", WIN9X if keep == "" else SHIPPED)]:
            setup, name = ("C:\\windows\\syswow64\\rundll32.exe", name[3:]) if name.startswith("32:") else ("rundll32", name)
            if name.endswith(".reg"):
                wine("regedit", "/s", win(folder + "/" + name))
            else:
                install(folder + "/" + name, setup)
            want = (want + want[2:4])[:6] if both else want[:4]
            got, text = observe(folder, both)
            if both and not flag32:  # after the 64-bit setup: unknown where it should have changed
                for i in (4, 5):
                    if want[i] != before[i - 4]:
                        (unknown.discard if setup != "rundll32" else unknown.add)(i)
                before = want[4:]
                unseen += len(unknown)
                want, got = tuple(w for i, w in enumerate(want) if i not in unknown), \
                    tuple(g for i, g in enumerate(got) if i not in unknown)
            if got != want:
                fails += 1
                print(f"FAIL row {row} ({section}) {setup} {name}:\n  want {want}\n  got  {got}")
        if text != seeded:
            fails += 1
            print(f"FAIL row {row} ({section}): SYSTEM.INI is not as it was:\n{text}")
    if not wow64:  # README.txt's way to remove another user's value
        ran += 1
        key = "HKU\\OtherUser\\" + CV + "\\Winlogon"
        with open(copy + "/other.hiv", "w") as f:
            f.write('WINE REGISTRY Version 2\n\n[%s\\\\Winlogon] 1700000000\n"Keep"="1"\n"Shell"="C:\\\\Orvalix\\\\Orvalix.exe"\n'
                    % CV.replace("\\", "\\\\"))
        wine(sys.argv[3], "load", "OtherUser", win(copy + "/other.hiv"))
        seen = [wine("reg", "query", key), wine("reg", "delete", key, "/v", "Shell", "/f"), wine("reg", "query", key)]
        wine(sys.argv[3], "unload", "OtherUser", win(copy + "/saved.hiv"))
        saved = open(copy + "/saved.hiv").read() if os.path.exists(copy + "/saved.hiv") else ""
        if not ("Orvalix.exe" in seen[0] and "Shell" not in seen[2] and "Keep" in seen[2]
                and '"Keep"' in saved and '"Shell"' not in saved and "OtherUser" not in wine("reg", "query", "HKU")):
            fails += 1
            print("FAIL other user's value (reg query, reg delete, reg query, saved hive):\n" + "\n".join(seen) + saved)
    subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-k"], env=env)
    shutil.rmtree(copy, ignore_errors=True)
    print(f"{ran} set/undo sequences in the {arch} prefix{' with the 32-bit setup' if wow64 else ''}, {fails} failed"
          + (f"; {skipped} skipped: 95/98/Me rows run in the x86 prefix" if skipped else "")
          + (f"; {unseen} readings of the 32-bit copy skipped: this Wine's setupapi ignores"
             " FLG_ADDREG_32BITKEY (0x4000), so it cannot show what the 64-bit setup writes there" if unseen else ""))
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
