#!/usr/bin/env bash
# Writes the seeds and reproducers of every fuzz target into
# tests/fuzz/corpus/<target>/ (run once; the files are kept in the project).
# Needs the native build (vantrel-pack), Info-ZIP's zip and MinGW-w64.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus="$root/tests/fuzz/corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
password=$(sed -n 's/.*kPackagePassword\[\] = "\(.*\)";/\1/p' "$root/runtime/startup_values.h")

python3 "$root/tests/fuzz/make_pe_seeds.py" "$work/pe" "$corpus/pe_resources"

# Packages: as the packer writes them (stored and deflated), as Info-ZIP
# writes them, and damaged ones.
mkdir -p "$corpus/package" "$work/pkg/app"
printf '[App]\r\nID=com.example.seed\r\nName=Seed\r\nDirName=app\r\n' >"$work/pkg/vtl.ini"
printf '<h1>seed</h1>' >"$work/pkg/app/index.html"
printf 'body{}' >"$work/pkg/app/site.css"
runtime_size() { python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(); pe=struct.unpack_from("<I",d,0x3C)[0]; n=struct.unpack_from("<H",d,pe+6)[0]
t=pe+24+struct.unpack_from("<H",d,pe+20)[0]
print(max(struct.unpack_from("<I",d,t+40*i+20)[0]+struct.unpack_from("<I",d,t+40*i+16)[0] for i in range(n)))' "$1"; }
for mode in store deflate; do
  "$root/build/native/tools/pack/vantrel-pack" --quiet --runtime "$corpus/pe_resources/tiny-program.exe" \
    --app "$work/pkg/app" --ini "$work/pkg/vtl.ini" --no-loader --$mode --output "$work/$mode.exe"
  tail -c +$(( $(runtime_size "$work/$mode.exe") + 1 )) "$work/$mode.exe" >"$corpus/package/packer-$mode.zip"
done
(cd "$work/pkg" && zip -q -r -P "$password" "$corpus/package/info-zip.zip" vtl.ini app)
# declare_size ZIP SIZE OUT: ZIP with every entry's uncompressed size (local
# and central headers) set to SIZE, as a damaged or hostile package declares it.
declare_size() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
d = bytearray(open(sys.argv[1], 'rb').read())
for i in range(len(d) - 4):
    if d[i:i + 4] == b'PK\x03\x04': struct.pack_into('<I', d, i + 22, int(sys.argv[2]))
    if d[i:i + 4] == b'PK\x01\x02': struct.pack_into('<I', d, i + 24, int(sys.argv[2]))
open(sys.argv[3], 'wb').write(d)
PY
}

# An entry that declares 16 bytes but inflates to 64 MiB.
head -c $((64 << 20)) /dev/zero >"$work/pkg/app/bomb.bin"
(cd "$work/pkg" && zip -q -9 -P "$password" "$work/bomb.zip" app/bomb.bin)
declare_size "$work/bomb.zip" 16 "$corpus/package/inflates-past-declared-size.zip"
# A configuration far larger than any real one, declared small.
rm "$work/pkg/app/bomb.bin"
head -c $((8 << 20)) /dev/zero | tr '\0' ';' >"$work/pkg/vtl.ini"
(cd "$work/pkg" && zip -q -9 -P "$password" "$work/ini.zip" vtl.ini)
declare_size "$work/ini.zip" 100 "$corpus/package/huge-configuration.zip"

# Configuration files in each encoding the reader knows.
mkdir -p "$corpus/ini"
cp "$root/examples/demo/vtl.ini" "$corpus/ini/demo.ini"
printf '\xef\xbb\xbf[App]\r\nID=x\r\nWidth=0x320\r\nHeight=$258\r\nAllowDebug=1\r\nInstallFormColor=-16777190\r\n' \
  >"$corpus/ini/utf8-bom.ini"
printf '[App]\nName=caf\xe9\nWindowBorder=7\n' | iconv -f latin1 -t utf-16 >"$corpus/ini/utf16.ini"

# Bridge calls, as the page-side script sends them.
mkdir -p "$corpus/bridge"
n=0
while IFS= read -r call; do
  n=$((n + 1))
  printf '%s' "$call" >"$corpus/bridge/call-$n.json"
done <<'CALLS'
{"id":10001,"uuid":"u-1","data":{}}
{"id":"30001","uuid":"u-2","data":{"filePath":"data.txt"}}
{"id":30003,"uuid":"u\"3","data":{"filePath":"C:/x/a.txt","contents":"a\nb\u0000c"}}
{"id":20002,"uuid":"u-4","data":{"fileName":"a.txt","title":"Save","fileTypes":"Text|*.txt;All|*.*","overwritePrompt":"TRUE"}}
{"id":40002,"uuid":null,"data":{"dirPath":"//server/share/x"}}
{"id":1.5e3,"uuid":"u-6","data":[]}
[[[[[[[[[[{"id":50002}]]]]]]]]]]
CALLS

# Icon files: a sound one and a cut one.
mkdir -p "$corpus/icon"
cp "$work/pe/tiny.ico" "$corpus/icon/tiny.ico"
head -c 30 "$work/pe/tiny.ico" >"$corpus/icon/cut.ico"

# Requested addresses.
mkdir -p "$corpus/resource_server"
n=0
for uri in 'file:///index.html' 'file:///css/site.css' 'FILE:///INDEX.HTML' 'file:///my%20page.html' \
           'file:///index.html?v=2#top' 'file:///beside.css' 'file:///a\b:c.js' 'https://app.localhost/index.html'; do
  n=$((n + 1))
  printf '%s' "$uri" >"$corpus/resource_server/uri-$n.txt"
done
echo "Seeds written to $corpus"
