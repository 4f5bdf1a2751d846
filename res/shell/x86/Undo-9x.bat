@ECHO OFF
REM Puts back the shell that was there before Set-9x.bat (Windows 95, 98, Me):
REM run it from Orvalix's Run or from this folder. See README.txt.
ORVALIX.EXE /shell undo machine
