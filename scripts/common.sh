# Shared by scripts/run and scripts/test: packages, builds, the Wine prefix and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD="$ROOT/build/win"
HOST_BUILD="$ROOT/build/host"
export WINEPREFIX="$WIN_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES="cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb x11-apps
  imagemagick googletest zlib1g-dev"

# Installs whatever of the packages is missing; quick when all are there.
install_packages() {
  local missing=""
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
}

build_windows() {
  if [ ! -f "$WIN_BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$WIN_BUILD" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$WIN_BUILD"
}

build_host() {
  if [ ! -f "$HOST_BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$HOST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug
  fi
  cmake --build "$HOST_BUILD"
}

# The build's own Wine prefix, made once.
prepare_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Wine draws the frames and captions itself: Xvfb has no window manager to do it.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
}

XVFB_PID=""
# Starts a private X display when none is set; stop_display ends it.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "cannot start Xvfb" >&2
  return 1
}

stop_display() {
  # The prefix's wineserver holds windows on the display; end it first.
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
