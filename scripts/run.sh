#!/usr/bin/env bash
# Builds Keyvane.exe and starts it under Wine, in a Wine prefix of the project's own (never
# ~/.wine). With a display it starts there; without one it starts on a virtual display, saves
# a screenshot after start-up and says where. The program runs until it is ended (tray menu
# "Exit", or Ctrl+C here). Arguments are handed to Keyvane.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/deps.sh
scripts/build.sh exe
. scripts/winarch.sh
exe="$root/$KV_RUN_BUILD/Keyvane.exe"
[ "$KV_WIN_ARCH" = win64 ] && echo "This kernel cannot run 32-bit programs: running the x86_64 build of Keyvane.exe."

export WINEPREFIX="${KEYVANE_WINEPREFIX:-$root/build/run-prefix-$KV_WIN_ARCH}"
export WINEARCH=$KV_WIN_ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX ..."
  "$KV_WINE" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
fi

xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  rm -f "$root/build/.run-display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$root/build/.run-display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$root/build/.run-display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$root/build/.run-display")"
  xmodmap -e 'keycode 187 =' -e 'keycode 188 =' 2>/dev/null || true
  echo "No display: using the virtual display $DISPLAY"
fi

echo "Starting Keyvane.exe (macros.ini is $WINEPREFIX/drive_c/windows/macros.ini)"
if [ "$headless" = 1 ]; then
  # A Wine desktop of its own draws window frames and a taskbar with the tray icon.
  "$KV_WINE" explorer /desktop=Keyvane,1280x1024 "$exe" "$@" </dev/null >/dev/null 2>&1 &
else
  "$KV_WINE" "$exe" "$@" </dev/null >/dev/null 2>&1 &
fi
prog=$!

if [ "$headless" = 1 ]; then
  mkdir -p build/screenshots
  shot="$root/build/screenshots/startup.png"
  # Wait until the program's windows exist, then give them a moment to paint.
  for _ in $(seq 100); do xdotool search --name 'Keyvane' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 2
  import -window root "$shot"
  echo "Screenshot after start-up: $shot"
fi
echo "Keyvane is running (process $prog). End it from its tray menu (Exit) or with Ctrl+C."
wait "$prog" || true
