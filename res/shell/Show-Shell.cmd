@rem Shows which shell Windows starts for you, and why. Windows 2000 and later; see README.txt.
@"%~dp0Orvalix.exe" /shell show
