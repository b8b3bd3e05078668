#!/usr/bin/env bash
# Wine and X set-up shared by scripts/test.sh, scripts/run.sh and
# scripts/wine-exec.sh. Source it:
#   . scripts/wine-env.sh
#   qx_start_xvfb                   # own Xvfb on a free display; exports DISPLAY
#   qx_wine_prepare build/wineprefix  # exports WINE*; boots the prefix once, starts its wineserver
#   qx_wine_stop; qx_stop_xvfb      # end only what these started
#   qx_fixed_layout wine prog.exe   # any Wine command, address-space layout fixed
#   qx_wine_session build/wineprefix  # the three above for a bench: Xvfb, prefix, both ended at exit
#   qx_win_path /abs/path           # the same path as a Wine program names it (Z:\...)
# Wine boots a prefix in about 10 s; a prefix booted by an earlier run is reused.

qx_wine_setup_version=2  # bump when the prefix settings below change

qx_start_xvfb() {
  local fifo_dir
  fifo_dir=$(mktemp -d)
  mkfifo "$fifo_dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo_dir/display" \
    >"${QX_XVFB_LOG:-/dev/null}" 2>&1 &
  qx_xvfb_pid=$!
  local display=""
  # Xvfb writes its display number once it accepts clients.
  if ! read -r -t 30 display <"$fifo_dir/display" || [ -z "$display" ]; then
    rm -rf "$fifo_dir"
    echo "Xvfb did not start" >&2
    qx_stop_xvfb
    return 1
  fi
  rm -rf "$fifo_dir"
  export DISPLAY=":$display"
}

qx_stop_xvfb() {
  if [ -n "${qx_xvfb_pid:-}" ]; then
    kill "$qx_xvfb_pid" 2>/dev/null || true
    wait "$qx_xvfb_pid" 2>/dev/null || true
    qx_xvfb_pid=""
  fi
}

# Runs a command with the address-space layout fixed, where the system allows
# it (children inherit it). With the layout randomised, about one Wine process
# start in a few thousand died silently before reaching the program, which
# fails whichever test it hits; none did with the layout fixed.
qx_fixed_layout() {
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    setarch "$(uname -m)" -R "$@"
  else
    "$@"
  fi
}

qx_wine_prepare() {
  mkdir -p "$1"
  WINEPREFIX=$(cd "$1" && pwd)
  export WINEPREFIX
  export WINEDEBUG=-all
  # No Mono or Gecko installers popping up on first start.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local log="$WINEPREFIX/../wine-setup.log"
  # Persistent server for this prefix: every test start finds it running, and
  # the helper processes Wine starts do not inherit a test's output pipe.
  qx_fixed_layout wineserver -p
  local stamp="$WINEPREFIX/.quellanix-setup"
  if [ "$(cat "$stamp" 2>/dev/null)" != "$qx_wine_setup_version" ]; then
    echo "Setting up the Wine prefix $WINEPREFIX"
    {
      qx_fixed_layout timeout 300 wineboot -i
      # Wine draws its own title bars (there is no window manager on Xvfb),
      # and owners answer at once after a dialog closes.
      qx_fixed_layout wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
      # 96 DPI, the layout's reference: twips / 15 = pixels.
      qx_fixed_layout wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f
      qx_fixed_layout wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d 96 /f
      # Debian's Wine ships Marlett but loads it only from the prefix's Fonts
      # folder; without it caption buttons show as the letters "0 1 r".
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || true
    } >>"$log" 2>&1
    echo "$qx_wine_setup_version" >"$stamp"
    # A prefix just made runs its first-boot work on in the background (a
    # second service manager, the device services): restarted, it starts as a
    # reused prefix does. Tests run beside that work answered seconds late.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    qx_fixed_layout wineserver -p
  fi
  # Starts the prefix's services now, not inside the first test.
  qx_fixed_layout timeout 120 wineboot >>"$log" 2>&1
}

qx_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}

# A bench's whole session: its own Xvfb and the prefix, both ended when the
# script exits.
qx_wine_session() {
  trap 'qx_wine_stop; qx_stop_xvfb' EXIT
  qx_start_xvfb
  qx_wine_prepare "$1"
}

qx_win_path() { echo "Z:${1//\//\\}"; }
