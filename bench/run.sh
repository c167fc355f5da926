#!/usr/bin/env bash
# Every speed and memory figure of the program beside its anchor, each as a
# ratio measured in this run on this machine (nothing is asserted):
#   start-up with a large package vs a 1 MB one (under Wine, WebView2 double),
#   and the program's peak memory beside the package's size;
#   entry extraction vs the bare cipher loop and vs unzip -p -P;
#   a 1 MB range near the end of a large stored entry vs a 1 MB entry;
#   vantrel-pack vs zip -P at the same compression, and the packer's peak memory.
# Usage: bench/run.sh [LARGE_MB (default 500)] [PACK_SIZES_MB (default "100 500")]
# CI-sized: bench/run.sh 50 "20 50". Needs the builds of scripts/build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
large=${1:-500}
pack_sizes=${2:-"100 500"}
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-bench.XXXXXX")
source scripts/wine-env.sh
wine_env_start
cleanup() { pkill -f "$work" 2>/dev/null || true; wine_env_stop; rm -rf "$work"; }
trap cleanup EXIT

echo "== Reader (native)"
build/native/bench/vantrel_reader_bench "$large"

echo "== Start-up and memory under Wine (WebView2 double)"
PACK=build/native/tools/pack/vantrel-pack
LOADER=build/windows/engines/webview2/WebView2LoaderWin64.dll
for mb in 1 "$large"; do
  mkdir -p "$work/start-$mb/app"
  echo '<html><body>bench</body></html>' >"$work/start-$mb/app/index.html"
  head -c $((mb << 20)) /dev/urandom >"$work/start-$mb/app/data.bin"
  printf '[App]\nID=com.vantrel.bench.start%s\nName=Bench\nDirName=app\nAllowInstances=1\n' "$mb" >"$work/start-$mb/vtl.ini"
  "$PACK" --quiet --runtime build/windows/runtime/VantrelRuntime.exe --app "$work/start-$mb/app" \
    --ini "$work/start-$mb/vtl.ini" --loader "$LOADER" --store --output "$work/start-$mb/app-$mb.exe"
done
python3 - "$work" "$large" "${WINE:-wine}" <<'PY'
import os, statistics, subprocess, sys, time
work, large, wine = sys.argv[1], int(sys.argv[2]), sys.argv[3]
env = dict(os.environ, FAKE_WEBVIEW2_VERSION="120.0.2210.91")

def peak_kib(pattern):
    best = 0
    for pid in os.listdir("/proc"):
        try:
            if pattern not in open(f"/proc/{pid}/cmdline", "rb").read().decode(errors="replace"):
                continue
            for line in open(f"/proc/{pid}/status"):
                if line.startswith("VmHWM:"):
                    best = max(best, int(line.split()[1]))
        except OSError:
            pass
    return best

def start(mb):
    exe = f"{work}/start-{mb}/app-{mb}.exe"
    transcript = f"{work}/start-{mb}/t.jsonl"
    if os.path.exists(transcript):
        os.remove(transcript)
    env["FAKE_WEBVIEW2_TRANSCRIPT"] = "Z:" + transcript.replace("/", "\\\\")
    began = time.monotonic()
    process = subprocess.Popen([wine, exe], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    answered = None
    while time.monotonic() - began < 60:
        if os.path.exists(transcript) and '"answered":true' in open(transcript, errors="replace").read():
            answered = time.monotonic() - began
            break
        time.sleep(0.005)
    peak = peak_kib(f"app-{mb}.exe")
    subprocess.run(["pkill", "-f", f"app-{mb}.exe"])
    process.wait()
    return answered, peak

results = {}
for mb in (1, large):
    runs = [start(mb) for _ in range(3)]
    results[mb] = (statistics.median(r[0] for r in runs), max(r[1] for r in runs))
small, big = results[1], results[large]
print(f"{'program start -> first resource answered, %d MB package' % large:58s} {big[0]*1000:8.0f} ms   "
      f"1 MB package {small[0]*1000:8.0f} ms   ratio {big[0]/small[0]:.2f}")
for mb in (1, large):
    peak = results[mb][1]
    print(f"peak memory with a {mb:4d} MB package: {peak/1024:7.1f} MiB   "
          f"minus the package: {(peak/1024 - mb):7.1f} MiB")
PY

echo "== Packer vs zip -P (stored, same content)"
for mb in $pack_sizes; do
  mkdir -p "$work/pack-$mb/app"
  echo '<html><body>bench</body></html>' >"$work/pack-$mb/app/index.html"
  for i in $(seq 1 $(( (mb + 9) / 10 ))); do head -c $((10 << 20)) /dev/urandom >"$work/pack-$mb/app/part$i.bin"; done
  printf '[App]\nID=com.vantrel.bench.pack\nName=Bench\nDirName=app\n' >"$work/pack-$mb/vtl.ini"
done
python3 - "$work" "$pack_sizes" "$root" <<'PY'
import resource, subprocess, sys, time
work, sizes, root = sys.argv[1], sys.argv[2].split(), sys.argv[3]
password = [l.split('"')[1] for l in open(f"{root}/runtime/startup_values.h") if "kPackagePassword[]" in l][0]

def timed(command, cwd=None):
    # Each measurement in a child of its own, so its peak memory is its own.
    probe = ("import resource, subprocess, sys, time; s = time.monotonic(); "
             "subprocess.run(sys.argv[2:], check=True, stdout=subprocess.DEVNULL, cwd=sys.argv[1] or None); "
             "print(time.monotonic() - s, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    out = subprocess.run([sys.executable, "-c", probe, cwd or ""] + command, check=True, capture_output=True, text=True)
    seconds, peak = out.stdout.split()
    return float(seconds), int(peak)

for mb in sizes:
    d = f"{work}/pack-{mb}"
    ours = min((timed([f"{root}/build/native/tools/pack/vantrel-pack", "--quiet", "--runtime",
                       f"{root}/build/windows/runtime/VantrelRuntime.exe", "--app", f"{d}/app", "--ini",
                       f"{d}/vtl.ini", "--no-loader", "--store", "--output", f"{d}/out.exe"]) for _ in range(2)))
    theirs = min((subprocess.run(["rm", "-f", f"{d}/z.zip"]), timed(["zip", "-q", "-r", "-0", "-P", password,
                                                                       f"{d}/z.zip", "app"], cwd=d))[1]
                 for _ in range(2))
    print(f"{'vantrel-pack, %s MB app' % mb:58s} {ours[0]*1000:8.0f} ms   zip -0 -P {theirs[0]*1000:8.0f} ms"
          f"   ratio {ours[0]/theirs[0]:.2f}   packer peak memory {ours[1]/1024:.1f} MiB")
PY
