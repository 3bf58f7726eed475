# Sourced by the scripts: a Wine prefix of the project's own under build/, a
# virtual display when there is none, and a warm wineserver.
# Defines wine_env_up and wine_env_down.

root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${TAPVANE_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

_xvfb_pid=""

_make_prefix() {
  # Made again whenever its registry settings change.
  local stamp
  stamp=$(md5sum "$root/scripts/wine-prefix-reg.py" | cut -d' ' -f1)
  [ "$(cat "$WINEPREFIX/.tapvane-ready" 2>/dev/null)" = "$stamp" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  # Debian's Wine looks for its own fonts in the wrong place.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*; do ln -sf "$f" "$fonts/"; done
  python3 "$root/scripts/wine-prefix-reg.py" "$WINEPREFIX/tapvane.reg"
  wine regedit /S "$WINEPREFIX/tapvane.reg" </dev/null >/dev/null 2>&1
  wineserver -w
  echo "$stamp" >"$WINEPREFIX/.tapvane-ready"
}

wine_env_up() {
  if [ -z "${DISPLAY:-}" ] || [ "${TAPVANE_OWN_DISPLAY:-0}" = 1 ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    _xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1
  fi
  _make_prefix
  # Wine's services inherit the first process's stdio; detach them so that
  # test runners reading our pipes do not wait for them.
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_env_down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$_xvfb_pid" ]; then kill "$_xvfb_pid" 2>/dev/null || true; wait "$_xvfb_pid" 2>/dev/null || true; fi
}
