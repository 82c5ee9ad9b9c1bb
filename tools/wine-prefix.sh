#!/usr/bin/env bash
# Creates the project's own Wine prefix once, before several programs want it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${KESTRUM_WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win32
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

# The window's tests show and hide many windows on a virtual display that has no
# window manager, where Wine waits two seconds for one at every window it maps.
# Their windows (and only theirs) are left unmanaged, so nothing waits.
if ! grep -q 'AppDefaults\\\\ui_tests.exe\\\\X11 Driver' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\AppDefaults\ui_tests.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi
