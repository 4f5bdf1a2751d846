#!/bin/sh
# Exit status 0 when this Linux host runs 32-bit x86 code, 1 when it does not
# (a kernel without IA-32 emulation answers "Exec format error"). The probe is
# the smallest i386 ELF program there is, 91 bytes: one program header and
# exit(0) through int 0x80 (xor ebx,ebx; xor eax,eax; inc eax; int 0x80), so
# it needs no 32-bit library and no package. ORVALIX_HOST_RUNS_X86=yes|no, when
# set, is the answer instead: make test finds it out once and passes it on,
# and "no" shows on any host what a host without 32-bit code does.
case $ORVALIX_HOST_RUNS_X86 in
  yes) exit 0 ;;
  no) exit 1 ;;
esac
probe=$(mktemp) || exit 1
printf '\177\105\114\106\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\133\0\0\0\133\0\0\0\5\0\0\0\0\20\0\0\61\333\61\300\100\315\200' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
rc=$?
rm -f "$probe"
[ $rc -eq 0 ]
