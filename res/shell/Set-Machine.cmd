@rem Makes Orvalix.exe beside this file the shell of every user (as administrator). Windows 2000 and later; see README.txt.
@cd /d "%~dp0"
@"%~dp0Orvalix.exe" /shell set machine
