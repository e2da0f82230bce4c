# The steps that the project's commands share: installing what a job needs,
# configuring and building, a folder with a sample game database and its
# config.txt, and how Chromium is started. Sourced, not run:
#   . "$(dirname "${BASH_SOURCE[0]}")/lib.sh"      (from scripts/)
#   . "$root/scripts/lib.sh"                        (from elsewhere)
# Every function stops the command that sourced it (set -e) when a step
# fails.

zelkor_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# zelkor_install JOB ...: the Debian packages (and npm modules) the jobs need
# (see scripts/install-deps).
zelkor_install() {
  "$zelkor_root/scripts/install-deps" "$@"
}

# zelkor_cmake_build SOURCE BUILD [-DOPTION=VALUE ...] [TARGET ...]:
# configures the checkout SOURCE into the folder BUILD (RelWithDebInfo unless
# an option says otherwise) and builds the targets (no target: all). CC and
# CXX choose the compilers on a folder's first configure.
zelkor_cmake_build() {
  local source="$1" build="$2"
  shift 2
  local options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) targets=() arg
  for arg in "$@"; do
    case "$arg" in
      -D*) options+=("$arg") ;;
      *) targets+=(--target "$arg") ;;
    esac
  done
  cmake -S "$source" -B "$build" "${options[@]}" >/dev/null
  cmake --build "$build" -j"$(nproc)" ${targets[@]+"${targets[@]}"}
}

# zelkor_sample_folder BUILD DIR HOST [ROWS COLUMNS]: DIR with a sample game
# database quarrion.db (made by BUILD's make_sample_gamedb: 12 rows x 20
# columns unless given) and a config.txt that names it, the server HOST,
# the user root without a password and the webmap database "webmap".
zelkor_sample_folder() {
  local build="$1" dir="$2" host="$3"
  shift 3
  mkdir -p "$dir"
  "$build/make_sample_gamedb" "$dir/quarrion.db" "$@" >/dev/null
  printf 'quarrion.db %s root & webmap\n' "$host" >"$dir/config.txt"
  chmod 600 "$dir/config.txt"
}

# zelkor_test_certificates DIR: a certificate authority (DIR/ca.pem) and a
# server certificate it signed for 127.0.0.1 (DIR/server.pem, with its key
# DIR/server.key), for a throwaway server's TLS.
zelkor_test_certificates() {
  (
    cd "$1"
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Bench CA" \
      -keyout ca.key -out ca.pem
    openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" \
      -keyout server.key -out server.csr
    echo "subjectAltName=IP:127.0.0.1" >names.cnf
    openssl x509 -req -days 2 -in server.csr -CA ca.pem -CAkey ca.key \
      -CAcreateserial -extfile names.cnf -out server.pem
  ) >/dev/null 2>&1
}

# The options headless Chromium is started with, here and in the browser
# test (mappage/map_page_browser_test.js reads the same file): no sandbox
# (as root), nothing fetched from the network.
mapfile -t zelkor_chromium_flags <"$zelkor_root/scripts/chromium-flags"

# zelkor_windows_build BUILD [-DOPTION=VALUE ...] [TARGET ...]: the client
# libraries for Windows (once per folder, scripts/build-windows-deps), then
# the project cross-built with mingw-w64 into BUILD, Release; the DLLs are
# copied beside the programs.
zelkor_windows_build() {
  local build="$1"
  shift
  "$zelkor_root/scripts/build-windows-deps" "$build"
  zelkor_cmake_build "$zelkor_root" "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$zelkor_root/cmake/mingw-w64-x86_64.cmake" \
    -DZELKOR_WINDOWS_DEPS="$build/deps/prefix" "$@"
  cp "$build"/deps/prefix/bin/*.dll "$build/"
}

# zelkor_wine_start PREFIX: Wine, headless, in its own prefix (made on first
# use: about 10 s), with its server kept up until zelkor_wine_stop, so that
# each program starts in a fraction of a second.
zelkor_wine_start() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 </dev/null
  wineserver --wait
  wineserver --persistent
  # The first program started brings up Wine's services, which stay as long
  # as the server does and keep the output streams they were started with:
  # started here, they hold /dev/null, not the pipe a test reads to its end.
  /usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null
}

zelkor_wine_stop() {
  wineserver --kill 2>/dev/null || true
}
