#!/usr/bin/env bash
# Screenshots of the manager window at 100 %, 150 % and 200 % scaling (Wine's LogPixels), with
# a few sample macros (one hotkey held by another program) and the second row selected, into build/screenshots/manager-<percent>.png,
# and of the installer's and uninstaller's pages, gone through with the keyboard alone, into
# build/screenshots/setup-<page>-<percent>.png. Needs the Windows build (scripts/build.sh win);
# makes the installer with scripts/package.sh when build/dist has none. Uses a Wine prefix and
# virtual display of its own (build/screenshots-wine), so it does not disturb the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/winarch.sh
build="$root/$KV_RUN_BUILD"
out="$root/build/screenshots"
mkdir -p "$out"
export KV_BUILD_DIR="$build" KV_WINE_STATE="$root/build/screenshots-wine"
eval "$(python3 tests/win/kvwine.py env)"
drive_c="$WINEPREFIX/drive_c"
progdir="$drive_c/kvshots"
mkdir -p "$progdir"
cp "$build/Keyvane.exe" "$progdir/"
drive() { wine "$build/tools/kvdrive.exe" "$@" 2>/dev/null | tr -d '\r'; }

# Every program of the prefix on one Wine desktop, which draws the windows' frames and captions
# (there is no window manager on the virtual display).
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1

for percent in 100 150 200; do
  dpi=$((96 * percent / 100))
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  printf '[Main]\r\nEntries=4\r\nFirstRun=1\r\n[Macro1]\r\nName=Open the weekly report\r\nType=1\r\nHotKey=49234\r\nTrigger=Untitled - Notepad\r\n[Macro2]\r\nName=Signature\r\nType=2\r\nHotKey=8304\r\n[Macro3]\r\nName=Fill in the order form\r\nType=3\r\nHotKey=49275\r\nTrigger=Order Entry\r\n[Macro4]\r\nName=Daily log entry\r\nType=4\r\n' \
    >"$drive_c/windows/macros.ini"
  # Another program holds Ctrl+Alt+R, the first macro's combination: the list shows it marked.
  rm -f "$progdir/held.log"
  wine "$build/tools/kvmgr.exe" holdhotkey 3 82 'C:\kvshots\held.log' >/dev/null 2>&1 </dev/null &
  for _ in $(seq 100); do [ -s "$progdir/held.log" ] && break; sleep 0.1; done
  wine "$progdir/Keyvane.exe" >/dev/null 2>&1 </dev/null &
  form=$(drive findvisible TfrmMain "Ostrel Keyvane" 30000 | head -n1)
  if [ -z "$form" ]; then
    echo "the manager window did not appear at $percent %" >&2
    exit 1
  fi
  lv=$(drive child "$form" SysListView32 - | head -n1)
  sleep 1
  for _ in 1 2 3; do
    wine "$build/tools/kvmgr.exe" lvclick "$lv" 1 >/dev/null 2>&1 || true
    sleep 0.5
    drive lvdump "$lv" | head -n1 | grep -q 'selected=1' && break
  done
  sleep 1
  read -r l t r b _ < <(drive rect "$form")
  import -display "$DISPLAY" -window root "$out/screen.png"
  convert "$out/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/manager-$percent.png"
  rm -f "$out/screen.png"
  echo "$out/manager-$percent.png (dpi $dpi, window $((r - l))x$((b - t)))"
  wineserver -k 2>/dev/null || true
done

setup=$(ls "$root"/build/dist/Keyvane-*-setup.exe 2>/dev/null | head -n1 || true)
if [ -z "$setup" ]; then
  scripts/package.sh >/dev/null
  setup=$(ls "$root"/build/dist/Keyvane-*-setup.exe | head -n1)
fi
# The page shown once a control with that text is there; then the dialog is cut out.
page() {
  local name=$1 text=$2 percent=$3 dlg
  for _ in $(seq 150); do
    dlg=$(drive findvisible "#32770" - 0 | head -n1 || true)
    [ -n "$dlg" ] && drive child "$dlg" - "$text" >/dev/null && break
    sleep 0.2
  done
  if [ -z "$dlg" ] || ! drive child "$dlg" - "$text" >/dev/null; then
    echo "the page \"$text\" did not appear at $percent %" >&2
    exit 1
  fi
  sleep 0.5
  read -r l t r b _ < <(drive rect "$dlg")
  import -display "$DISPLAY" -window root "$out/screen.png"
  convert "$out/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/setup-$name-$percent.png"
  rm -f "$out/screen.png"
  echo "$out/setup-$name-$percent.png"
}
keys() { xdotool key --delay 150 "$@"; }
for percent in 100 150 200; do
  dpi=$((96 * percent / 100))
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine "$setup" >/dev/null 2>&1 </dev/null &
  page welcome "&Next >" "$percent"
  keys Return
  page components "Choose Components" "$percent"
  # The second entry, starting with Windows, ticked; then Install.
  keys Down space
  page components-ticked "Choose Components" "$percent"
  keys Return
  page finish "&Finish" "$percent"
  # "Start Keyvane now" unticked, so that the uninstaller finds nothing running.
  keys space Return
  drive waitgone "#32770" - 20000 >/dev/null || true
  uninstaller=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyvane' /v UninstallString \
    2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *"\(.*\)"$/\1/p')
  wine "$uninstaller" >/dev/null 2>&1 </dev/null &
  page uninstall "&Uninstall" "$percent"
  keys Return
  page uninstall-finish "&Finish" "$percent"
  keys Return
  drive waitgone "#32770" - 20000 >/dev/null || true
  wineserver -k 2>/dev/null || true
done
python3 tests/win/kvwine.py down >/dev/null 2>&1 || true
