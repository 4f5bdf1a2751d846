@rem Makes Orvalix.exe beside this file your shell. Windows 2000 and later; see README.txt.
@"%~dp0Orvalix.exe" /shell set user
