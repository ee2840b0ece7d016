# Shared by scripts/run and scripts/test: packages, builds, the Wine prefix and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD="$ROOT/build/win"
HOST_BUILD="$ROOT/build/host"
export WINEPREFIX="$WIN_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES="cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb x11-apps
  imagemagick googletest zlib1g-dev nginx tinyproxy clang"

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

build_host() {
  configure_build "$HOST_BUILD" -DCMAKE_BUILD_TYPE=Debug
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
    "$DEMO_DIR/"
  cp -f "$ROOT/tests/fixtures/engines.dat" "$ROOT/tests/fixtures/categories.dat" "$DEMO_DIR/"
}
