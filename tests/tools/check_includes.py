#!/usr/bin/env python3
"""Checks that every #include "layer/..." under a source tree follows the
layers' allowed edges: app -> ui -> session, launch, startup -> platform.
Usage: check_includes.py SRC_DIR. Prints each wrong include; exit 1 on any."""
import pathlib
import re
import sys

# Who may include whom. The middle layers log and launch through launch/.
ALLOWED = {
    "app": {"app", "ui", "session", "launch", "startup", "platform"},
    "ui": {"ui", "session", "launch", "startup", "platform"},
    "session": {"session", "launch", "platform"},
    "startup": {"startup", "launch", "platform"},
    "launch": {"launch", "platform"},
    "platform": {"platform"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]+"', re.M)


def main(src):
    root = pathlib.Path(src)
    wrong = 0
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        layer = path.relative_to(root).parts[0]
        if layer not in ALLOWED:
            print(f"{path}: not in a known layer")
            wrong += 1
            continue
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            if target not in ALLOWED[layer]:
                print(f"{path}: {layer} includes {target}/, which it may not")
                wrong += 1
    print(f"{wrong} wrong include(s)" if wrong else "includes follow the layers")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
