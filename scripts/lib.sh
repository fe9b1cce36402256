# Shared by the scripts: the machine's set-up once per command, the Wine environment and a private
# virtual display.

karvoss_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Runs scripts/setup unless a script of the same command already did (scripts/test calls
# scripts/package, which needs the same machine).
run_setup() {
  [ -n "${KARVOSS_SETUP_DONE:-}" ] && return 0
  "$karvoss_root/scripts/setup"
  export KARVOSS_SETUP_DONE=1
}

wine_environment() {
  export KARVOSS_WINEPREFIX=${KARVOSS_WINEPREFIX:-$karvoss_root/build/windows/wineprefix}
  export WINEPREFIX=$KARVOSS_WINEPREFIX
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
}

# Starts Xvfb on a free display when there is no display; sets DISPLAY and started_xvfb.
started_xvfb=""
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.05
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
  done
  echo "no free display number" >&2
  return 1
}

stop_display() {
  if [ -n "$started_xvfb" ]; then
    kill "$started_xvfb" 2>/dev/null || true
    wait "$started_xvfb" 2>/dev/null || true
    started_xvfb=""
  fi
}

# Boots the prefix once (about 15 s) and keeps its server running for the whole session.
start_wine() {
  wine_environment
  "$karvoss_root/scripts/wine-exec" cmd /c exit 0 >/dev/null 2>&1 || true
  # Fails harmlessly when the prefix's server is already running.
  wineserver -p || true
}

stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
