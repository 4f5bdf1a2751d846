#!/usr/bin/env python3
"""check_includes.py SRC_DIR: every #include "layer/..." under SRC_DIR follows
the layers' edges, app -> ui -> session, launch, startup -> platform."""
import pathlib
import re
import sys

# Who may include whom; the middle layers log and launch through launch/.
ALLOWED = {
    "app": {"app", "ui", "session", "launch", "startup", "platform"},
    "ui": {"ui", "session", "launch", "startup", "platform"},
    "session": {"session", "launch", "platform"},
    "startup": {"startup", "launch", "platform"},
    "launch": {"launch", "platform"},
    "platform": {"platform"},
}
root = pathlib.Path(sys.argv[1])
wrong = [f"{path}: {layer} includes {target}/, which it may not"
         for path in sorted(root.rglob("*")) if path.suffix in (".h", ".cpp")
         for layer in [path.relative_to(root).parts[0]]
         for target in re.findall(r'^\s*#\s*include\s*"([^"/]+)/', path.read_text(), re.M)
         if target not in ALLOWED.get(layer, ())]
print("\n".join(wrong) or "includes follow the layers")
sys.exit(1 if wrong else 0)
