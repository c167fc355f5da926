#!/usr/bin/env bash
# The main job: installs what is missing, builds, packs the demo application
# and runs the packaged program under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
bash scripts/build.sh

mkdir -p build/demo
build/native/tools/pack/vantrel-pack \
  --runtime build/windows/runtime/VantrelRuntime.exe \
  --app examples/demo/app --ini examples/demo/vtl.ini \
  --output build/demo/VantrelDemo.exe

VANTREL_OWN_DISPLAY=${VANTREL_OWN_DISPLAY:-0}
[ -n "${DISPLAY:-}" ] || VANTREL_OWN_DISPLAY=1
export VANTREL_OWN_DISPLAY
source scripts/wine-env.sh
wine_env_start
trap wine_env_stop EXIT
echo "Running build/demo/VantrelDemo.exe under Wine (display $DISPLAY); close its window to end."
set +e
"$WINE" build/demo/VantrelDemo.exe
code=$?
set -e
echo "VantrelDemo.exe exited with code $code"
exit "$code"
