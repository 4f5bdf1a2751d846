@rem Puts back your shell as it was before Set-User. Windows 2000 and later; see README.txt.
@cd /d "%~dp0"
@"%~dp0Orvalix.exe" /shell undo user
