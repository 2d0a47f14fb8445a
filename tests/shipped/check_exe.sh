#!/usr/bin/env bash
# Checks the shipped exe as a file: a 32-bit (i386) PE GUI program that imports system
# DLLs only (no C++ runtime, libgcc or winpthread DLL) and nothing Windows XP lacks.
set -euo pipefail
exe="$1"
objdump=i686-w64-mingw32-objdump
headers="$($objdump -p "$exe")"
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q "file format pei-i386" <<<"$headers" || fail "not a PE32 i386 image"
grep -Eq "^Subsystem[[:space:]]+0*2[[:space:]]" <<<"$headers" || fail "not a GUI subsystem program"

allowed="KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll ole32.dll COMCTL32.dll msvcrt.dll"
dlls="$(awk '/DLL Name:/ {print $3}' <<<"$headers")"
[ -n "$dlls" ] || fail "no import table found"
for dll in $dlls; do
    grep -qiw -- "$dll" <<<"$allowed" || fail "imports $dll, which is not a system DLL we allow"
done
# Functions that Windows XP's kernel32 does not export.
for newer in GetTickCount64 InitializeConditionVariable SleepConditionVariableCS \
             InitOnceExecuteOnce InitializeSRWLock AcquireSRWLockExclusive; do
    grep -qw "$newer" <<<"$headers" && fail "imports $newer, missing on Windows XP"
done
echo "ok: $(basename "$exe") is PE32 i386 GUI importing: $(tr '\n' ' ' <<<"$dlls")"
