@rem Shows which shell Windows starts for you, and why. Windows 2000 and later; see README.txt.
@cd /d "%~dp0"
@"%~dp0Orvalix.exe" /shell show
