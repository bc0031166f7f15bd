#!/usr/bin/env bash
# Checks an installed copy of the project, away from the build tree:
#   bash scripts/check_install.sh [BUILD_DIR] [--deb]
# installs BUILD_DIR (default: build) into a fresh prefix, runs the installed tools, registers
# the installed component servers in a fresh class registry, starts the wizard through the
# installed corvana, and builds the host in tests/install/host against the prefix twice: with
# find_package(Tavolex) and with pkg-config. With --deb (as root) it also builds the Debian
# packages, installs them with dpkg -i, runs their tools from /usr and purges them again.
# Exit status 0 when every check passed; 1 at the first failure, with the step named.
set -u

root="$(cd "$(dirname "$0")/.." && pwd)"
build="build"
deb=0
for arg in "$@"; do
  case "$arg" in
    --deb) deb=1 ;;
    -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) build="$arg" ;;
  esac
done

case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

work="$(mktemp -d "${TMPDIR:-/tmp}/tavolex-install.XXXXXX")" || exit 1
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
export COM_REGISTRY="$work/registry"

fail() { echo "check_install: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"

step "installed tools run from the prefix"
sox -q -n -r 44100 -c 2 -b 16 "$work/song.wav" synth 30 sine 440 || fail "sox cannot make the test audio"
"$prefix/bin/tavolex" cue --version || fail "tavolex cue --version"
"$prefix/bin/tavolex" cue "$work/song.wav" --divider split:900 --out "$work/song.cue" || fail "tavolex cue"
grep -q '^  TRACK 02 AUDIO$' "$work/song.cue" || fail "the installed tavolex wrote no second track"
ldd "$prefix/bin/tavolex" | grep 'libplatform_com_runtime\.so' | grep -q "=> $prefix/" ||
  fail "the installed tavolex does not use the installed runtime library"

step "regsvr registers the installed component servers"
"$prefix/bin/regsvr" --register-all "$prefix" || fail "regsvr --register-all $prefix"
"$prefix/bin/regsvr" --print | grep -q "$prefix/lib.*/libTavolex.so" ||
  fail "the registry does not name the installed libTavolex.so"

step "corvana starts the wizard"
[ "$("$prefix/bin/corvana")" = "wizard: start" ] || fail "corvana did not start the wizard"

step "a host outside the tree, with find_package(Tavolex)"
cmake -S "$root/tests/install/host" -B "$work/host" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/host.log" || fail "configuring the host failed (see find_package above)"
cmake --build "$work/host" >>"$work/host.log" || fail "building the host failed"
"$work/host/tavolex-host" || fail "the host could not create the components"

step "the same host with pkg-config"
flags="$(PKG_CONFIG_PATH="$(dirname "$(find "$prefix" -name tavolex.pc)")" pkg-config --cflags --libs tavolex)" ||
  fail "pkg-config does not know tavolex"
# shellcheck disable=SC2086  # the flags are words
g++ -std=c++20 -o "$work/host-pc" "$root/tests/install/host/main.cpp" $flags || fail "pkg-config build failed"
"$work/host-pc" || fail "the pkg-config host could not create the components"

if [ "$deb" = 1 ]; then
  [ "$(id -u)" = 0 ] || fail "--deb needs root (dpkg -i)"
  step "Debian packages"
  (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log") ||
    fail "cpack failed"
  debs=("$work"/debs/*.deb)
  for d in "${debs[@]}"; do dpkg-deb -f "$d" Package Version Depends; done
  dpkg -i "${debs[@]}" || fail "dpkg -i failed"
  status=0
  export COM_REGISTRY="$work/registry-deb"
  tavolex cue "$work/song.wav" --divider split:900 >/dev/null &&
    regsvr --register-all /usr && [ "$(corvana)" = "wizard: start" ] || status=1
  dpkg -P tavolex libtavolex-dev libtavolex1 || fail "dpkg -P failed"
  [ "$status" = 0 ] || fail "the packaged tools did not run"
fi
step "all checks passed"
