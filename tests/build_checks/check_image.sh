#!/usr/bin/env bash
# The install image: five 64-bit PE files that import no MinGW runtime DLL, hallet.dll
# exporting exactly MessageProc and EdgeMessageProc, the defaults file, the licence and the
# pictures.
set -euo pipefail
image=${1:?image folder}
objdump=x86_64-w64-mingw32-objdump
fail=0
problem() { echo "FAIL: $*"; fail=1; }

for f in tvra.exe hallet.dll TVRAService.exe brisel.exe TVRAUninstaller.exe; do
  [ -f "$image/$f" ] || { problem "$f missing"; continue; }
  headers=$($objdump -f "$image/$f")
  grep -q 'file format pei-x86-64' <<<"$headers" || problem "$f is not a 64-bit PE file"
  imports=$($objdump -p "$image/$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  if grep -E -q 'libstdc|libgcc|libwinpthread|mingw' <<<"$imports"; then
    problem "$f imports a MinGW runtime DLL: $(tr '\n' ' ' <<<"$imports")"
  fi
done

exports=$($objdump -p "$image/hallet.dll" |
  awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && NF==0 {on=0} on {print $NF}' | sort | tr '\n' ' ')
[ "$exports" = "EdgeMessageProc MessageProc " ] || problem "hallet.dll exports '$exports'"

grep -q 'Subsystem.*00000002' <(${objdump} -p "$image/tvra.exe") || problem "tvra.exe is not a GUI program"
grep -q 'Subsystem.*00000003' <(${objdump} -p "$image/TVRAService.exe") || problem "TVRAService.exe is not a console program"
grep -q 'requireAdministrator' "$image/TVRAUninstaller.exe" || problem "uninstaller manifest does not require administrator"

for p in settings_default.ini LICENSE.txt images/start-normal.png images/start-hover.png images/start-pushed.png \
         images/select1.png images/hilight1.png; do
  [ -s "$image/$p" ] || problem "$p missing"
done
for p in start-normal start-hover start-pushed; do
  size=$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(*struct.unpack('>II', d[16:24]))" "$image/images/$p.png")
  [ "$size" = "96 96" ] || problem "$p.png is $size, not 96 x 96"
done

[ $fail = 0 ] && echo "install image is sound"
exit $fail
