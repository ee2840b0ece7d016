# Shared by scripts/run and scripts/test: packages, builds, the Wine prefix and the display.
# Sourced, not run.

# timed NAME COMMAND...: runs one step and prints its duration.
timed() {
  local name=$1 start=$SECONDS rc=0
  shift
  echo "== $name =="
  "$@" || rc=$?
  echo "== $name: $((SECONDS - start)) s (exit $rc) =="
  return $rc
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD="$ROOT/build/win"
HOST_BUILD="$ROOT/build/host"
export WINEPREFIX="$WIN_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES="cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb x11-apps
  imagemagick googletest zlib1g-dev nginx tinyproxy clang python3 libgif-dev"

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

# configure_build FOLDER [CMAKE OPTIONS...]: configures the build in FOLDER, also when it was
# configured before. Run after install_packages: a library installed since the last run (gumbo
# for the parser benchmark, say) only adds its targets when the build looks for it again, and a
# repeated configure is quick.
configure_build() {
  local folder=$1
  shift
  cmake -S "$ROOT" -B "$folder" -G Ninja "$@"
}

# configure_windows FOLDER: the Windows build's configuration in FOLDER.
configure_windows() {
  configure_build "$1" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

build_windows() {
  configure_windows "$WIN_BUILD"
  cmake --build "$WIN_BUILD"
}

# Only what the demo runs: the two programs, the language module (with the tips file), the fake
# search engine and the document maker; a first demo does not wait for every test program.
DEMO_TARGETS="ZBPro ZBUpdate ZBResENU ZBFakeEngine ZBMakeDoc"
build_demo_programs() {
  configure_windows "$WIN_BUILD"
  cmake --build "$WIN_BUILD" --target $DEMO_TARGETS
}

build_host() {
  configure_build "$HOST_BUILD" -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$HOST_BUILD"
}

# The build's own Wine prefix, made once; an older prefix gets what it lacks.
prepare_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Wine draws the frames and captions itself: Xvfb has no window manager to do it.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  install_symbol_font
}

# Caption buttons, scroll arrows and menu check marks are glyphs of the Marlett symbol font.
# Debian's fonts-wine has it, but this Wine does not look in that package's folder, so without a
# copy in the prefix the buttons show the letters that stand for the glyphs ("0 1 r"). Only this
# font is added: the text fonts stay as they are, and with them the sizes the window tests know.
WINE_SYMBOL_FONT=/usr/share/wine/fonts/marlett.ttf
install_symbol_font() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -f "$WINE_SYMBOL_FONT" ]; then
    echo "warning: $WINE_SYMBOL_FONT is missing (package fonts-wine); caption buttons show letters" >&2
    return 0
  fi
  mkdir -p "$fonts"
  cmp -s "$WINE_SYMBOL_FONT" "$fonts/marlett.ttf" || cp -f "$WINE_SYMBOL_FONT" "$fonts/marlett.ttf"
  if ! grep -q '^"Marlett (TrueType)"=' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
      /v 'Marlett (TrueType)' /d marlett.ttf /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}

XVFB_PID=""
# Starts a private X display when none is set; stop_display ends it.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do
    # A lock whose server has gone (a killed session) does not hold the display.
    if [ -e "/tmp/.X$n-lock" ]; then
      local owner
      owner=$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null || true)
      # An empty lock is a server still starting.
      [ -z "$owner" ] && continue
      kill -0 "$owner" 2>/dev/null && continue
      rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n" 2>/dev/null || continue
    fi
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

# Real servers for the tests: nginx serving a few files from build/test-servers/www, and
# tinyproxy with Basic authorization in front of it, run natively on free loopback ports with
# configs of their own. The tests under Wine find them through the ZB_* variables exported here.
# ZB_SERVERS_DIR gives a folder of one's own, for a second set beside the first.
SERVERS_DIR="${ZB_SERVERS_DIR:-$ROOT/build/test-servers}"

# True when something accepts connections on the loopback port.
port_open() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 40000))
    port_open "$port" || break
  done
  echo "$port"
}

# stop_server NAME: ends the server started under that name, and only it.
stop_server() {
  local file="$SERVERS_DIR/$1.pid" pid i
  [ -f "$file" ] || return 0
  pid=$(cat "$file")
  rm -f "$file"
  # The process id may belong to someone else by now: check that it runs with our config.
  [ -r "/proc/$pid/cmdline" ] || return 0
  tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF "$SERVERS_DIR" || return 0
  kill "$pid" 2>/dev/null || return 0
  wait "$pid" 2>/dev/null || true
  for i in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
}

# start_server NAME PORT COMMAND...: runs the command in the background until its port answers.
start_server() {
  local name=$1 port=$2 pid i
  shift 2
  "$@" >"$SERVERS_DIR/$name.out" 2>&1 &
  pid=$!
  echo "$pid" >"$SERVERS_DIR/$name.pid"
  for i in $(seq 50); do
    port_open "$port" && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  stop_server "$name"
  return 1
}

write_nginx_conf() {
  local d="$SERVERS_DIR"
  cat >"$d/nginx.conf" <<EOF
daemon off;
master_process off;
worker_processes 1;
error_log $d/nginx-error.log warn;
pid $d/nginx-own.pid;
events { worker_connections 256; }
http {
  access_log $d/nginx-access.log;
  client_body_temp_path $d/nginx-temp/body;
  proxy_temp_path $d/nginx-temp/proxy;
  fastcgi_temp_path $d/nginx-temp/fastcgi;
  uwsgi_temp_path $d/nginx-temp/uwsgi;
  scgi_temp_path $d/nginx-temp/scgi;
  types { text/html html; text/plain txt; }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$1;
    root $d/www;
    location = /redirect { return 302 /hello.txt; }
    location = /cookie {
      default_type text/plain;
      add_header Set-Cookie "zbnginx=1; Path=/";
      return 200 "cookie set\n";
    }
  }
}
EOF
}

write_tinyproxy_conf() {
  cat >"$SERVERS_DIR/tinyproxy.conf" <<EOF
Port $1
Listen 127.0.0.1
Timeout 30
MaxClients 64
Allow 127.0.0.1
BasicAuth $ZB_TINYPROXY_USER $ZB_TINYPROXY_PASSWORD
LogFile "$SERVERS_DIR/tinyproxy.log"
LogLevel Warning
EOF
}

# Starts both servers and exports ZB_NGINX_PORT, ZB_TINYPROXY_PORT, ZB_TINYPROXY_USER and
# ZB_TINYPROXY_PASSWORD. When they cannot start, the ports stay unset (the tests that need them
# then fail saying so) and this returns non-zero.
start_test_servers() {
  stop_test_servers
  unset ZB_NGINX_PORT ZB_TINYPROXY_PORT
  export ZB_TINYPROXY_USER=zbuser ZB_TINYPROXY_PASSWORD=secret
  mkdir -p "$SERVERS_DIR/www" "$SERVERS_DIR/nginx-temp"
  printf 'Hello from nginx\n' >"$SERVERS_DIR/www/hello.txt"
  printf '<html><body>nginx test page</body></html>\n' >"$SERVERS_DIR/www/index.html"
  head -c 200000 /dev/zero | tr '\0' x >"$SERVERS_DIR/www/big.txt"
  local port try nginx
  # /usr/sbin is not on every user's PATH.
  nginx=$(command -v nginx || echo /usr/sbin/nginx)
  for try in 1 2 3; do
    port=$(free_port)
    write_nginx_conf "$port"
    if start_server nginx "$port" "$nginx" -p "$SERVERS_DIR" -e "$SERVERS_DIR/nginx-error.log" \
      -c "$SERVERS_DIR/nginx.conf"; then
      export ZB_NGINX_PORT=$port
      break
    fi
  done
  for try in 1 2 3; do
    port=$(free_port)
    write_tinyproxy_conf "$port"
    if start_server tinyproxy "$port" tinyproxy -d -c "$SERVERS_DIR/tinyproxy.conf"; then
      export ZB_TINYPROXY_PORT=$port
      break
    fi
  done
  if [ -z "${ZB_NGINX_PORT:-}" ] || [ -z "${ZB_TINYPROXY_PORT:-}" ]; then
    echo "warning: nginx or tinyproxy did not start; see $SERVERS_DIR/*.out" >&2
    return 1
  fi
  echo "Test servers: export ZB_NGINX_PORT=$ZB_NGINX_PORT ZB_TINYPROXY_PORT=$ZB_TINYPROXY_PORT" \
    "ZB_TINYPROXY_USER=$ZB_TINYPROXY_USER ZB_TINYPROXY_PASSWORD=$ZB_TINYPROXY_PASSWORD"
}

stop_test_servers() {
  stop_server tinyproxy
  stop_server nginx
}

# The folder the programs run from in scripts/run and scripts/screens: the built programs, the
# language module and our own fixture engine definitions (their engines live on 127.0.0.1), so
# the program starts as an installed copy would without touching the build's own folder, where
# the tests expect no data files.
DEMO_DIR="$ROOT/build/demo"
prepare_demo() {
  mkdir -p "$DEMO_DIR"
  cp -f "$WIN_BUILD/bin/ZBPro.exe" "$WIN_BUILD/bin/ZBUpdate.exe" "$WIN_BUILD/bin/ZBResENU.dll" \
    "$WIN_BUILD/bin/ZBProenu.tip" "$DEMO_DIR/"
  cp -f "$ROOT/tests/fixtures/engines.dat" "$ROOT/tests/fixtures/categories.dat" "$DEMO_DIR/"
}

# winpath PATH: the Windows form of an absolute Unix path, through Wine's drive for the root
# (no Wine process is started for it, unlike winepath).
winpath() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

# screenshot FILE: the whole display, trimmed to what is drawn on it.
screenshot() {
  mkdir -p "$(dirname "$1")"
  xwd -root -silent | convert xwd:- -trim +repage "$1"
}

# wait_for_window TEXT [SECONDS]: waits until a top-level window whose title holds TEXT is on the
# display; false when none came in time (default 30 s).
wait_for_window() {
  local text=$1 tries=$((${2:-30} * 5)) i
  for i in $(seq "$tries"); do
    xwininfo -root -children 2>/dev/null | grep -qF -- "$text" && return 0
    sleep 0.2
  done
  return 1
}

# The fake search engine as a program (ZBFakeEngine.exe) serving the demo's ranks on a free
# loopback port: start_fake_engine DEMOFILE FOLDER writes FOLDER/engines.dat and categories.dat
# for its port and sets FAKE_PORT; stop_fake_engine ends it by closing its input, and kills it
# only when it does not end by itself.
FAKE_PID=""
FAKE_IN=""
start_fake_engine() {
  local data=$1 folder=$2 fifo out i
  fifo="$folder/.fake-engine-input"
  out="$folder/fake-engine.out"
  rm -f "$fifo" "$out"
  mkfifo "$fifo"
  wine "$WIN_BUILD/bin/ZBFakeEngine.exe" "$(winpath "$data")" "$(winpath "$folder")" \
    <"$fifo" >"$out" 2>"$folder/fake-engine.err" &
  FAKE_PID=$!
  # Held open by this shell: the server reads it until it ends.
  exec {FAKE_IN}>"$fifo"
  rm -f "$fifo"
  for i in $(seq 150); do
    [ -s "$out" ] && break
    kill -0 "$FAKE_PID" 2>/dev/null || break
    sleep 0.2
  done
  FAKE_PORT=$(head -n 1 "$out" 2>/dev/null | tr -d '\r')
  if ! [[ "$FAKE_PORT" =~ ^[0-9]+$ ]]; then
    echo "The fake search engine did not start:" >&2
    cat "$folder/fake-engine.err" >&2 || true
    stop_fake_engine
    return 1
  fi
}

stop_fake_engine() {
  local i
  if [ -n "$FAKE_IN" ]; then
    exec {FAKE_IN}>&-
    FAKE_IN=""
  fi
  [ -n "$FAKE_PID" ] || return 0
  for i in $(seq 25); do
    kill -0 "$FAKE_PID" 2>/dev/null || break
    sleep 0.2
  done
  kill "$FAKE_PID" 2>/dev/null || true
  wait "$FAKE_PID" 2>/dev/null || true
  FAKE_PID=""
}
