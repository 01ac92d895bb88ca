#!/usr/bin/env bash
# Installs what is missing, builds the manager and starts it on a copy of the
# bundled demo application folder (build/demo). Without a display the window
# runs under Xvfb: a screenshot is saved to build/demo/screenshot.png, the
# window is closed through its normal close path (which saves, as Exit does)
# and the files it wrote are printed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target RiVaVaz

rm -rf build/demo
cp -a demo build/demo
app=build/src/app/RiVaVaz

if [[ -n "${DISPLAY:-}" ]]; then
  exec "$app" --app-folder build/demo
fi

echo "No display: running the window under Xvfb."
xvfb-run -a -s "-screen 0 1024x768x24" "$app" --app-folder build/demo --screenshot build/demo/screenshot.png
echo
echo "Screenshot: build/demo/screenshot.png"
for f in data/VmBoxList.xml VmEmailForwardBody.txt QV.INI; do
  echo
  echo "=== build/demo/$f (written on close) ==="
  tr -d '\r' < "build/demo/$f"
done
