#!/usr/bin/env bash
# The Debian package as a school's administrator uses it: made with CPack from the build,
# checked with lintian, desktop-file-validate and appstreamcli, installed with apt-get, run
# from another folder (--version, --check and --render of the installed examples, and its
# window under an X server of its own), and purged, after which no file of it may remain.
#
# It installs into the machine's own system folders, so it needs root and apt. Without them
# it is skipped (exit 77); under CI, where the test machine has both, a skip is a failure.
# It never touches a tavsim package that was installed before it ran.
#
# Usage: package.sh <build folder>
set -uo pipefail

build=${1:?usage: package.sh <build folder>}
program=/usr/bin/tavsim
title='Tavelon 2.0 demonstratie'
examples=/usr/share/tavsim/voorbeelden

skip() {
    if [ "${CI:-}" = "true" ]; then
        echo "FAIL (a skip under CI): $*" >&2
        exit 1
    fi
    echo "SKIP: $*"
    exit 77
}

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in apt-get dpkg dpkg-deb cpack lintian desktop-file-validate appstreamcli Xvfb xdotool \
    import convert; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
if dpkg-query -W -f='${Status}' tavsim 2>/dev/null | grep -q 'installed'; then
    skip "a tavsim package is installed already; this test leaves it alone"
fi

# shellcheck source=../e2e/e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_common.sh"

installed=""
cleanup() {
    e2e_cleanup
    if [ -n "$installed" ]; then
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 purge -y -qq tavsim >/dev/null 2>&1
    fi
}
trap cleanup EXIT

# ---- build and check the package -------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$work"/package/tavsim_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tavsim_VERSION_amd64.deb: ${debs[*]}"
deb=${debs[0]}
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes," \
    "installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6multimedia6 libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
if grep -E -q 'gcc-[0-9]|g\+\+|cmake|gtest|gmock|benchmark|xvfb|xdotool|-dev\b' <<<"$depends"; then
    fail "Depends holds what only building or testing needs: $depends"
fi
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
if grep -E -q 'test_|bench_|fuzz_|datagen|\.a$|/include/' "$work/contents"; then
    fail "the package holds build or test files: $(grep -E 'test_|bench_|fuzz_|datagen|\.a$|/include/' "$work/contents" | head -5)"
fi

lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
lintian_status=$?
cat "$work/lintian.log"
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
desktop-file-validate "$work/unpacked/usr/share/applications/tavsim.desktop" ||
    fail "desktop-file-validate refuses the desktop entry"
appstreamcli validate --no-net "$work"/unpacked/usr/share/metainfo/*.metainfo.xml ||
    fail "appstreamcli refuses the AppStream metadata"

# ---- install it and use it from elsewhere ----------------------------------------------------
installed=yes
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install of the package failed"; }
dpkg -L tavsim >"$work/files" || fail "dpkg does not list the installed package"
[ -L "$program" ] && [ -x "$program" ] || fail "$program is not a link to the program"

mkdir -p "$work/elsewhere"
cd "$work/elsewhere" || fail "cannot enter $work/elsewhere"
export TAVSIM_REGISTRY="$work/registry-cli"
version=$("$program" --version) || fail "tavsim --version failed"
grep -q "2\.0" <<<"$version" || fail "tavsim --version prints '$version'"
"$program" --check "$examples"/*.tvb >checked.jsonl || fail "tavsim --check on the examples failed"
boards=$(find "$examples" -name '*.tvb' | wc -l)
[ "$boards" -ge 3 ] || fail "only $boards example boards"
[ "$(grep -c '"ok":true' checked.jsonl)" -eq "$boards" ] ||
    fail "not every example board was read: $(cat checked.jsonl)"
grep '"file":"[^"]*voorbeeld.tvb"' checked.jsonl | grep -q '"leds":\[' ||
    fail "no result for voorbeeld.tvb: $(cat checked.jsonl)"
# Every installed example assignment gives its teacher's board full marks.
for assignment in /usr/share/tavsim/opdrachten/*.tvo; do
    graded=$("$program" --grade "$assignment" "${assignment%.tvo}.tvb") ||
        fail "tavsim --grade $assignment failed"
    grep -q '"grade":10.0,' <<<"$graded" || fail "the teacher's board of $assignment: $graded"
done
[ "$(find /usr/share/tavsim/opdrachten -name '*.tvo' | wc -l)" -ge 5 ] ||
    fail "fewer than five example assignments"
# Drawing loads the pictures through the component library, found beside the program
# without any registration.
"$program" --render "$examples/voorbeeld.tvb" board.png --scale 1 ||
    fail "tavsim --render of the installed example failed"
[ "$(identify -format '%wx%h' board.png)" = "420x360" ] || fail "the drawn board is not 420x360"
[ ! -s "$TAVSIM_REGISTRY" ] || ! grep -q 'InprocServer32' "$TAVSIM_REGISTRY" ||
    fail "running the installed program registered its libraries"

# ---- the window ------------------------------------------------------------------------------
e2e_start_x
e2e_private_env
e2e_start_program "$examples/voorbeeld.tvb"
window=$(e2e_wait_window "^${title} - voorbeeld.tvb\$") || exit 1
e2e_board_layout "$window"
e2e_wait_board
# Let the first paint pass, after which the document type is registered.
for _ in $(seq 1 50); do
    grep -q 'shell\\\\open\\\\command' "$TAVSIM_REGISTRY" 2>/dev/null && break
    sleep 0.1
done
grep -F -q "\"/usr/bin/tavsim \\\"%1\\\"\"" "$TAVSIM_REGISTRY" ||
    fail "the association does not name /usr/bin/tavsim: $(grep -F command "$TAVSIM_REGISTRY")"
if [ -n "$(find "$XDG_DATA_HOME" -type f)" ]; then
    fail "the installed program wrote per-user desktop files: $(find "$XDG_DATA_HOME" -type f)"
fi
e2e_stop_program

# ---- purge: nothing of it remains ------------------------------------------------------------
cd / || fail "cannot leave $work"
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 purge -y -qq tavsim >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get purge tavsim failed"; }
installed=""
left=()
while read -r path; do
    [ -n "$path" ] || continue
    if [ -L "$path" ] || [ -f "$path" ]; then
        left+=("$path")
    fi
done <"$work/files"
for folder in /usr/lib/tavsim /usr/share/tavsim /usr/share/doc/tavsim; do
    [ -e "$folder" ] && left+=("$folder")
done
[ ${#left[@]} -eq 0 ] || fail "left behind after purge: ${left[*]}"
echo "OK: package made, checked, installed, used and purged without a trace"
