#!/usr/bin/env bash
# Checks the shipped exe as a file: a 32-bit (i386) PE GUI program that imports system
# DLLs only (no C++ runtime, libgcc or winpthread DLL) and nothing Windows XP lacks,
# hardened (ASLR with the relocations it needs, DEP) and stripped; prints its size.
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

# ASLR and DEP: the two DllCharacteristics flags, and a non-empty base relocation table,
# without which the loader cannot move the image and ASLR is a flag only.
dll_characteristics="$(sed -n '/^DllCharacteristics/,/^[^[:space:]]/p' <<<"$headers")"
for flag in DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$dll_characteristics" || fail "DllCharacteristics lacks $flag"
done
reloc_size="$(awk '/^Entry 5 / {print $4}' <<<"$headers")"
reloc_bytes=$((16#${reloc_size:-0}))
[ "$reloc_bytes" -gt 0 ] || fail "no base relocation table"

# Stripped: no symbol table and no debug sections.
sections="$($objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/ {print $2}')"
debug_sections="$(grep -E '^\.(z?debug|stab)' <<<"$sections" || true)"
[ -z "$debug_sections" ] || fail "not stripped: has $(tr '\n' ' ' <<<"$debug_sections")"
file_flags="$($objdump -f "$exe")"
grep -qw HAS_SYMS <<<"$file_flags" && fail "not stripped: has a symbol table"

echo "ok: $(basename "$exe") is PE32 i386 GUI importing: $(tr '\n' ' ' <<<"$dlls")"
echo "ok: DYNAMIC_BASE NX_COMPAT, relocations $reloc_bytes bytes, stripped; size $(stat -c %s "$exe") bytes"
