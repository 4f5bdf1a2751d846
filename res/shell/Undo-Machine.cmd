@rem Puts back every user's shell as it was before Set-Machine (as administrator). Windows 2000 and later; see README.txt.
@cd /d "%~dp0"
@"%~dp0Orvalix.exe" /shell undo machine
