@ECHO OFF
REM Makes ORVALIX.EXE in this folder the shell (Windows 95, 98, Me): run it from
REM Orvalix's Run or from this folder. See README.txt.
ORVALIX.EXE /shell set machine
