#!/usr/bin/env bash
# Checks the shipped executable from outside: PE32, GUI subsystem, exactly the five system
# libraries as imports, and the resources "Dlg", "Dlg2", "Dlg3", menu 300, manifest 1 and icon group 2.
set -u
exe=$1
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
headers=$(i686-w64-mingw32-objdump -p "$exe")
check "PE32" "grep -q 'Magic.*010b.*(PE32)' <<<\"\$headers\""
check "GUI subsystem" "grep -q 'Subsystem.*00000002.*(Windows GUI)' <<<\"\$headers\""
dlls=$(grep 'DLL Name' <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
check "imports user32 gdi32 kernel32 shlwapi comctl32 only (got: $dlls)" \
  "[ \"\$dlls\" = 'COMCTL32.DLL GDI32.DLL KERNEL32.DLL SHLWAPI.DLL USER32.DLL ' ]"
# The resource directory: type 24 (manifest) id 1, type 14 (icon group) id 2, type 4 (menu) id 300.
dir=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3c)[0]
nsec = struct.unpack_from('<H', data, pe + 6)[0]
optsize = struct.unpack_from('<H', data, pe + 20)[0]
sec = pe + 24 + optsize
for i in range(nsec):
    name, vsize, va, rawsize, rawptr = struct.unpack_from('<8sIIII', data, sec + 40 * i)
    if name.rstrip(b'\0') == b'.rsrc':
        base, rva = rawptr, va
def entries(off):
    named, ids = struct.unpack_from('<HH', data, base + off + 12)
    for k in range(named + ids):
        n, o = struct.unpack_from('<II', data, base + off + 16 + 8 * k)
        yield n, o
out = []
for t, o in entries(0):
    if t & 0x80000000: continue
    for n, o2 in entries(o & 0x7fffffff):
        if n & 0x80000000:
            so = base + (n & 0x7fffffff)
            ln = struct.unpack_from('<H', data, so)[0]
            out.append('%d:%s' % (t, data[so + 2:so + 2 + 2 * ln].decode('utf-16-le').upper()))
        else:
            out.append('%d:%d' % (t, n))
print(' '.join(out))
PY
)
check 'dialog "Dlg"' "grep -qw '5:DLG' <<<\"\$dir\""
check 'dialog "Dlg2"' "grep -qw '5:DLG2' <<<\"\$dir\""
check 'dialog "Dlg3"' "grep -qw '5:DLG3' <<<\"\$dir\""
check "manifest type 24 id 1 (have: $dir)" "grep -qw '24:1' <<<\"\$dir\""
check "icon group 2" "grep -qw '14:2' <<<\"\$dir\""
check "icon image 1" "grep -qw '3:1' <<<\"\$dir\""
check "menu 300" "grep -qw '4:300' <<<\"\$dir\""
if [ $fail = 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $fail
