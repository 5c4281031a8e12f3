#!/usr/bin/env bash
# Screenshots of the manager window at 100 %, 150 % and 200 % scaling (Wine's LogPixels), with
# a few sample macros (one hotkey held by another program) and the second row selected, into build/screenshots/manager-<percent>.png,
# and of the installer's and uninstaller's pages, gone through with the keyboard alone, into
# build/screenshots/setup-<page>-<percent>.png, and of every page of the Macro Setup Wizard at
# 100 % and 200 % into build/screenshots/wizard-<page>-<percent>.png, and of the script page
# with each of its menus dropped and each of its dialogs into build/screenshots/editor-<what>-
# <percent>.png. `scripts/screenshots.sh wizard` makes only the wizard's, `editor` only those,
# `properties` only the Macro Properties dialog's, once for each kind of macro, at 100 % and
# 200 % into build/screenshots/properties-<kind>-<percent>.png. Needs the Windows build
# (scripts/build.sh win); makes the installer with scripts/package.sh when build/dist has none. Uses a Wine prefix and
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

only=${1:-all}
# Wine started afresh at that scaling.
restart_at() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$((96 * $1 / 100))" /f >/dev/null 2>&1
}
# The window cut out of the screen into build/screenshots/<name>.png.
shot() {
  local name=$1 hwnd=$2 l t r b
  read -r l t r b _ < <(drive rect "$hwnd")
  import -display "$DISPLAY" -window root "$out/screen.png"
  convert "$out/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/$name.png"
  rm -f "$out/screen.png"
  echo "$out/$name.png"
}
# The wizard's control with that id.
wctl() { drive children "$wiz" | awk -v id="$1" '$2 == id { print $1; exit }'; }
# Waits until the wizard shows the page with that heading, then takes its picture.
wpage() {
  local name=$1 heading=$2 percent=$3
  for _ in $(seq 100); do
    [ "$(drive gettext "$(wctl 1011)")" = "$heading" ] && break
    sleep 0.1
  done
  if [ "$(drive gettext "$(wctl 1011)")" != "$heading" ]; then
    echo "the wizard's page \"$heading\" did not appear at $percent %" >&2
    exit 1
  fi
  sleep 0.5
  shot "wizard-$name-$percent" "$wiz"
}
# Opens the wizard from the manager window's "New Macro".
open_wizard() {
  local main
  main=$(drive findvisible TfrmMain "Ostrel Keyvane" 30000 | head -n1)
  drive click "$(drive child "$main" Button "New Macro")" >/dev/null
  wiz=$(drive findvisible TfrmWizard "Macro Setup Wizard" 20000 | head -n1)
}
wizard_pages() {
  local percent=$1
  open_wizard
  wpage start "What would you like this macro to do?" "$percent"
  drive click "$(wctl 1001)" >/dev/null
  wpage name "Name Your Macro" "$percent"
  drive settext "$(wctl 1030)" "Daily Report" >/dev/null
  drive click "$(wctl 1001)" >/dev/null
  # Ctrl+Alt+R in the hotkey field (HKM_SETHOTKEY), a window title.
  wpage triggers-empty "Select Triggers" "$percent"
  drive send "$(wctl 1040)" 1025 0x652 0 >/dev/null
  drive settext "$(wctl 1042)" "Untitled - Notepad" >/dev/null
  wpage triggers "Select Triggers" "$percent"
  drive click "$(wctl 1001)" >/dev/null
  wpage script "Create an advanced macro" "$percent"
  drive click "$(wctl 1001)" >/dev/null
  wpage finished "Finished" "$percent"
  for _ in 1 2 3 4; do drive click "$(wctl 1002)" >/dev/null; sleep 0.3; done
  drive click "$(wctl 1022)" >/dev/null
  wpage start-app-chosen "What would you like this macro to do?" "$percent"
  for _ in 1 2 3; do drive click "$(wctl 1001)" >/dev/null; sleep 0.3; done
  drive settext "$(wctl 1051)" "C:\\Documents\\Fax Cover.doc" >/dev/null
  wpage application "Start an Application" "$percent"
  for _ in 1 2 3; do drive click "$(wctl 1002)" >/dev/null; sleep 0.3; done
  drive click "$(wctl 1021)" >/dev/null
  for _ in 1 2 3; do drive click "$(wctl 1001)" >/dev/null; sleep 0.3; done
  wpage keys-or-mouse "Record just keys or mouse and keys?" "$percent"
  drive click "$(wctl 1001)" >/dev/null
  wpage record-keys "Record Keystrokes" "$percent"
  drive click "$(wctl 1002)" >/dev/null
  drive click "$(wctl 1061)" >/dev/null
  drive click "$(wctl 1001)" >/dev/null
  wpage record-mouse "Record Mouse and Keyboard" "$percent"
}
# The screen around the wizard and a window over it, cut out into build/screenshots/<name>.png.
shot_over() {
  local name=$1 other=$2 l t r b l2 t2 r2 b2
  read -r l t r b _ < <(drive rect "$wiz")
  read -r l2 t2 r2 b2 _ < <(drive rect "$other")
  l=$((l2 < l ? l2 : l)) t=$((t2 < t ? t2 : t)) r=$((r2 > r ? r2 : r)) b=$((b2 > b ? b2 : b))
  import -display "$DISPLAY" -window root "$out/screen.png"
  convert "$out/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/$name.png"
  rm -f "$out/screen.png"
  echo "$out/$name.png"
}
# Drops the menu of the menu button with that id; with an entry, picks it with the keyboard.
drop() {
  local id=$1 entry=${2:-} popup
  drive post "$(wctl "$id")" 0x201 1 0x00050005 >/dev/null
  popup=$(drive popupmenu 10000 | head -n1)
  if [ -z "$popup" ]; then
    echo "the menu of control $id did not drop" >&2
    exit 1
  fi
  if [ -n "$entry" ]; then
    for _ in $(seq 0 "$entry"); do drive post "$popup" 0x100 0x28 0 >/dev/null; done
    drive post "$popup" 0x100 0x0D 0 >/dev/null
  else
    echo "$popup"
  fi
}
# Waits for the dialog with that class, takes its picture over the wizard, and ends it with
# the command id given (its Cancel).
dialog_shot() {
  local name=$1 cls=$2 cancel=$3 percent=$4 dlg
  dlg=$(drive findvisible "$cls" - 10000 | head -n1)
  if [ -z "$dlg" ]; then
    echo "the dialog $cls did not appear at $percent %" >&2
    exit 1
  fi
  sleep 0.5
  shot_over "editor-$name-$percent" "$dlg"
  drive post "$dlg" 0x111 "$cancel" 0 >/dev/null
  drive waitgone "$cls" - 0 >/dev/null || sleep 1
}
editor_shots() {
  local percent=$1 popup menu
  open_wizard
  drive click "$(wctl 1001)" >/dev/null
  drive settext "$(wctl 1030)" "Daily Report" >/dev/null
  drive click "$(wctl 1001)" >/dev/null
  drive click "$(wctl 1001)" >/dev/null
  wpage script "Create an advanced macro" "$percent"
  drive settext "$(wctl 200)" "Dear <<SHIFT>>sir," >/dev/null
  for menu in 210:special-keys 211:date-time 212:more-keys 213:repeat 214:misc; do
    popup=$(drop "${menu%%:*}")
    sleep 0.5
    shot_over "editor-menu-${menu#*:}-$percent" "$popup"
    drive post "$popup" 0x100 0x1B 0 >/dev/null
    sleep 0.5
  done
  drive click "$(wctl 201)" >/dev/null
  dialog_shot wait TfrmWait 2 "$percent"
  drop 213 0
  dialog_shot repeat TfrmRepeat 11 "$percent"
  drop 214 0
  dialog_shot input-box TfrmInputBox 2 "$percent"
  drop 214 3
  dialog_shot wait-for-window TfrmWaitforWindow 11 "$percent"
  drop 214 2
  dialog_shot run-macro KeyvaneLineInput 2 "$percent"
  drop 214 4
  dialog_shot focus-window KeyvaneLineInput 2 "$percent"
}
# The Macro Properties dialog for each of the four macros of its macros.ini (one of each kind),
# opened with "Edit Macro", into build/screenshots/properties-<kind>-<percent>.png.
properties_shots() {
  local percent=$1 main lv row kind dlg
  main=$(drive findvisible TfrmMain "Ostrel Keyvane" 30000 | head -n1)
  lv=$(drive child "$main" SysListView32 - | head -n1)
  sleep 1
  row=0
  for kind in application keystrokes mouse-and-keyboard advanced; do
    for _ in 1 2 3; do
      wine "$build/tools/kvmgr.exe" lvclick "$lv" "$row" >/dev/null 2>&1 || true
      sleep 0.5
      drive lvdump "$lv" | head -n1 | grep -q "selected=$row" && break
    done
    drive click "$(drive child "$main" Button "Edit Macro")" >/dev/null
    dlg=$(drive findvisible TfrmProperties "Macro Properties" 10000 | head -n1)
    if [ -z "$dlg" ]; then
      echo "the properties dialog did not open for row $row at $percent %" >&2
      exit 1
    fi
    sleep 0.5
    shot "properties-$kind-$percent" "$dlg"
    drive post "$dlg" 0x111 2 0 >/dev/null
    drive waitgone TfrmProperties "Macro Properties" 10000 >/dev/null || sleep 1
    row=$((row + 1))
  done
}
# Starts Keyvane afresh at 100 % and at 200 % with that macros.ini and runs the function; then ends.
at_two_scales() {
  local fn=$1 ini=$2 percent
  for percent in 100 200; do
    restart_at "$percent"
    printf '%b' "$ini" >"$drive_c/windows/macros.ini"
    wine "$progdir/Keyvane.exe" >/dev/null 2>&1 </dev/null &
    "$fn" "$percent"
    wineserver -k 2>/dev/null || true
  done
  python3 tests/win/kvwine.py down >/dev/null 2>&1 || true
  exit 0
}
if [ "$only" = editor ]; then
  at_two_scales editor_shots '[Main]\r\nEntries=0\r\nFirstRun=1\r\nShow Hints=0\r\n'
fi
if [ "$only" = properties ]; then
  at_two_scales properties_shots '[Main]\r\nEntries=4\r\nFirstRun=1\r\n[Macro1]\r\nName=Open the weekly report\r\nType=1\r\nHotKey=49234\r\nFileName=C:\\Reports\\weekly.doc\r\nTrigger=Untitled - Notepad\r\n[Macro2]\r\nName=Signature\r\nType=2\r\nHotKey=8304\r\nFileName=Signature.dat\r\n[Macro3]\r\nName=Fill in the order form\r\nType=3\r\nHotKey=49275\r\nFileName=Fill in the order form.dat\r\nSpeed=2\r\nTrigger=Order Entry\r\n[Macro4]\r\nName=Daily log entry\r\nType=4\r\nFileName=Daily log entry.key\r\n'
fi
if [ "$only" = wizard ]; then
  at_two_scales wizard_pages '[Main]\r\nEntries=1\r\nFirstRun=1\r\n[Macro1]\r\nName=Signature\r\nType=2\r\nHotKey=8304\r\n'
fi

for percent in 100 150 200; do
  restart_at "$percent"
  dpi=$((96 * percent / 100))
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
  if [ "$percent" != 150 ]; then wizard_pages "$percent"; fi
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
  restart_at "$percent"
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
