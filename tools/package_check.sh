#!/usr/bin/env bash
# The Debian package as a user gets it: builds it from a configured build
# folder, checks it (lintian, appstreamcli, desktop-file-validate), installs
# it, runs the installed tools, starts the installed program once headless
# with a fresh HOME on the virtual instrument, checks that the first start
# made the per-user application folder, and removes the package again.
#
#     tools/package_check.sh [BUILD_DIR]      (default build/default; needs root or sudo)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

fail() { echo "package check: $*" >&2; exit 1; }

cmake --build "$build" --target package
deb=$(realpath "$(ls -t "$build"/bandora_*.deb | head -n 1)")
echo "package check: $deb"
dpkg-deb --info "$deb"

lintian --fail-on error --info "$deb"
appstreamcli validate --no-net "$build/packaging/org.bandora.Bandora.metainfo.xml"
desktop-file-validate packaging/org.bandora.Bandora.desktop

home=$(mktemp -d)
cleanup() {
    $SUDO apt-get remove -y -qq bandora >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT

$SUDO apt-get install -y -qq "$deb" >/dev/null
[ "$(command -v bandora)" = /usr/bin/bandora ] || fail "bandora is not /usr/bin/bandora"
bandora --version
bandora-report --help >/dev/null
[ -f /usr/share/bandora/config.dat ] || fail "no /usr/share/bandora/config.dat"

# One headless start on the virtual instrument. It ends by SIGTERM once it
# says the windows are up, or by the timer after 90 s; whichever ends it, it
# counts only when the start-up got through and the per-user folder is there.
log="$home/start.log"
(cd "$home" && exec env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
    timeout -s TERM -k 10 90 bandora --simulate) >"$log" 2>&1 &
pid=$!
for _ in $(seq 1 170); do
    grep -q "^bandora: started in" "$log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
cat "$log"
case $status in
    0 | 124 | 143) ;;
    *) fail "bandora --simulate ended with status $status" ;;
esac
user="$home/.local/share/bandora"
grep -q "^bandora: started in $user, online" "$log" || fail "the start-up did not get through online in $user"
grep -q "^First start: made the application folder $user" "$log" || fail "the first start did not say it made $user"
[ -f "$user/config.dat" ] && [ -f "$user/w384.dat" ] && [ -f "$user/bdr_help.pdf" ] || fail "$user is incomplete"

$SUDO apt-get remove -y -qq bandora >/dev/null
[ ! -e /usr/bin/bandora ] || fail "bandora is still installed after removal"
echo "package check: passed"
