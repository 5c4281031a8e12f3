# Sourced by the build, test and run scripts. Keyvane.exe is a 32-bit program (build/win). Some
# kernels are booted without 32-bit support, and there Wine cannot run 32-bit programs at all;
# on such a machine the same sources are also built for x86_64 (build/win64) and that build is
# what runs under Wine. KV_WIN_ARCH=win32|win64 overrides the choice.
kv_can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
if [ -z "${KV_WIN_ARCH:-}" ]; then
  if [ ! -e /lib/ld-linux.so.2 ] || kv_can_run_32bit; then KV_WIN_ARCH=win32; else KV_WIN_ARCH=win64; fi
fi
if [ "$KV_WIN_ARCH" = win64 ]; then
  KV_RUN_BUILD=build/win64
  KV_WINE=/usr/lib/wine/wine64
  export WINELOADER=/usr/lib/wine/wine64
else
  KV_RUN_BUILD=build/win
  KV_WINE=wine
fi
