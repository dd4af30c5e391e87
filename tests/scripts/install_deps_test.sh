#!/bin/bash
# The installer's decisions over a mirror caught mid-sync, without touching the machine: apt-get,
# apt-cache, dpkg and clang are stand-ins first on a PATH that holds nothing else but the few
# tools the script uses, and the sources are a folder of this test's own.
set -uo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
work="$(mktemp -d /tmp/taliveer-install-test.XXXXXX)"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

mkdir -p "$work/bin" "$work/tools"
for tool in bash sh env sed awk grep mktemp timeout sort cut cat sleep rm mkdir head tail cp id paste tr dirname; do
  ln -s "$(command -v "$tool")" "$work/tools/$tool"
done

# apt-get: writes each call to calls.log; what it answers comes from the scenario's files
# (update.N holds try N's exit code and output; install.N the Nth install's).
# A temporary source list it is given is copied out (kept.list, kept.sources) while it exists.
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
s="$SCENARIO"
echo "apt-get $*" >>"$s/calls.log"
for a in "$@"; do
  case "$a" in
    Dir::Etc::sourcelist=*) cp "${a#*=}" "$s/kept.list" ;;
    Dir::Etc::sourceparts=*) cat "${a#*=}"/*.sources >"$s/kept.sources" ;;
  esac
done
case "$1" in
  update) what=update ;;
  install) what=install ;;
  *) exit 0 ;;
esac
n=$(( $(cat "$s/$what.count" 2>/dev/null || echo 0) + 1 ))
echo "$n" >"$s/$what.count"
file="$s/$what.$n"
[[ -f "$file" ]] || file="$s/$what.default"
[[ -f "$file" ]] || exit 0
tail -n +2 "$file"
exit "$(head -n 1 "$file")"
EOF
cat >"$work/bin/apt-cache" <<'EOF'
#!/bin/bash
echo "apt-cache $*" >>"$SCENARIO/calls.log"
[[ "$1 $2" == "depends clang" && -f "$SCENARIO/clang-depends" ]] && cat "$SCENARIO/clang-depends"
exit 0
EOF
# dpkg: the packages listed in installed are installed; i386 is a foreign architecture once added.
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/bash
case "$1" in
  -s) grep -qxF "$2" "$SCENARIO/installed" 2>/dev/null ;;
  --print-foreign-architectures) cat "$SCENARIO/arches" 2>/dev/null ;;
  --add-architecture) echo "dpkg $*" >>"$SCENARIO/calls.log"; echo "$2" >>"$SCENARIO/arches" ;;
esac
EOF
chmod +x "$work/bin/"*

mirror_error='E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]'

# new_scenario NAME: an empty machine with both kinds of source file and clang 14 installed.
new_scenario() {
  S="$work/$1"
  mkdir -p "$S/etc/sources.list.d"
  cat >"$S/etc/sources.list" <<'EOF'
# the machine's own list
deb http://mirror.invalid/debian bookworm main
deb [signed-by=/usr/share/keyrings/x.gpg] http://mirror.invalid/debian-security bookworm-security main
EOF
  cat >"$S/etc/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://mirror.invalid/debian
Suites: bookworm-updates bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.invalid/debian-security
Suites: bookworm-security
Components: main
EOF
  printf '#!/bin/bash\necho 14.0.6\n' >"$S/clang"
  chmod +x "$S/clang"
  cp "$S/clang" "$work/bin/clang"
}

run_installer() {  # run_installer [profile]: the script's exit code in $rc, its output in $S/out
  SCENARIO="$S" APT_ETC="$S/etc" TALIVEER_APT_PAUSE=0 PATH="$work/bin:$work/tools" \
    bash "$script" "$@" >"$S/out" 2>&1
  rc=$?
}

check() {  # check DESCRIPTION CONDITION...
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $SCENE: $what"
    sed 's/^/    | /' "$S/out"
  fi
}
said() { grep -qF -- "$1" "$S/out"; }
called() { grep -qF -- "$1" "$S/calls.log" 2>/dev/null; }
calls() { grep -c -- "$1" "$S/calls.log" 2>/dev/null || true; }

SCENE="everything installed"
new_scenario installed
printf '%s\n' g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-liberation \
  cmake ninja-build g++ googletest clang xclip qemu-user-static libclang-rt-14-dev >"$S/installed"
run_installer
check "exits 0" test "$rc" = 0
check "asks apt nothing" test ! -e "$S/calls.log"

SCENE="the run command"
new_scenario run
printf '%s\n' wine wine32:i386 >"$S/installed"
run_installer run
check "exits 0" test "$rc" = 0
check "adds i386" called "dpkg --add-architecture i386"
check "installs what running needs" called "g++-mingw-w64-i686-posix"
check "installs no test tool" bash -c "! grep -E 'googletest|clang|xclip|qemu' '$S/calls.log'"
check "leaves out what is there" bash -c "! grep -E ' wine( |$)' '$S/calls.log'"

SCENE="a mirror mid-sync"
new_scenario midsync
echo i386 >"$S/arches"
printf '100\n%s\n' "$mirror_error" 'E: Some index files failed to download. They have been ignored, or old ones used instead.' >"$S/update.default"
printf '100\n%s\n' 'E: Unable to correct problems, you have held broken packages.' >"$S/install.1"
run_installer
check "exits 0" test "$rc" = 0
check "tries the update three times" test "$(calls 'apt-get update')" = 3
check "installs twice" test "$(calls 'apt-get install')" = 2
check "says which suite it left out and why" said "== left out bookworm-security for this install, whose index did not arrive for every architecture (bookworm-security/main/binary-i386/Packages.xz: File has unexpected size"
check "the second install reads a list of its own" bash -c "tail -n 1 '$S/calls.log' | grep -q 'Dir::Etc::sourcelist=/tmp/taliveer-sources'"
check "the machine's sources are unchanged" grep -q 'bookworm-security' "$S/etc/sources.list"
check "names clang 14's runtime" called "libclang-rt-14-dev"

SCENE="the fallback's source list"
new_scenario lists
echo i386 >"$S/arches"
printf '100\n%s\n' "$mirror_error" >"$S/update.default"
printf '100\n%s\n' 'E: Unable to correct problems, you have held broken packages.' >"$S/install.1"
run_installer
check "exits 0" test "$rc" = 0
check "one-line entries of other suites stay" grep -qx 'deb http://mirror.invalid/debian bookworm main' "$S/kept.list"
check "one-line entries of the failed suite go" bash -c "! grep -q bookworm-security '$S/kept.list'"
check "a stanza keeps its other suites and fields" bash -c "grep -qx 'Suites: bookworm-updates' '$S/kept.sources' && grep -q 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' '$S/kept.sources'"
check "a stanza of only the failed suite goes" bash -c "! grep -q 'debian-security' '$S/kept.sources'"

SCENE="an update that comes right"
new_scenario recovers
echo i386 >"$S/arches"
printf '100\n%s\n' "$mirror_error" >"$S/update.1"
run_installer
check "exits 0" test "$rc" = 0
check "stops trying once it worked" test "$(calls 'apt-get update')" = 2
check "installs once, from the machine's lists" bash -c "test \"\$(grep -c 'apt-get install' '$S/calls.log')\" = 1 && ! grep -q Dir::Etc '$S/calls.log'"

SCENE="no index at all"
new_scenario offline
echo i386 >"$S/arches"
{
  echo 100
  for suite in bookworm bookworm-updates bookworm-security; do
    echo "E: Failed to fetch http://mirror.invalid/debian/dists/$suite/InRelease  Could not resolve 'mirror.invalid'"
  done
} >"$S/update.default"
printf '100\n%s\n' 'E: Unable to locate package wine' >"$S/install.default"
run_installer
check "fails" test "$rc" = 1
check "names the index and what to try" said "the packages could not be installed: no suite's indexes arrived for every architecture: bookworm/InRelease: Could not resolve 'mirror.invalid'; try again later"
check "does not install from an empty list" test "$(calls 'apt-get install')" = 1

SCENE="a package this release lacks"
new_scenario lacking
echo i386 >"$S/arches"
printf '100\n%s\n' 'E: Unable to locate package libclang-rt-14-dev' >"$S/install.default"
run_installer
check "fails" test "$rc" = 1
check "says the lists were complete and names the packages" said "the package lists are complete, so a package may be missing from this release"
check "tries no fallback" test "$(calls 'apt-get install')" = 1

SCENE="the fallback fails too"
new_scenario stuck
echo i386 >"$S/arches"
printf '100\n%s\n' "$mirror_error" >"$S/update.default"
printf '100\n%s\n' 'E: Unable to correct problems, you have held broken packages.' >"$S/install.default"
run_installer
check "fails" test "$rc" = 1
check "names the failing index and what to try" said "apt-get install failed even without bookworm-security (see above): bookworm-security/main/binary-i386/Packages.xz: File has unexpected size (374820 != 376004). Mirror sync in progress?; try again later"

SCENE="clang not yet installed (Debian 13)"
new_scenario trixie
rm -f "$work/bin/clang"
echo i386 >"$S/arches"
printf '%s\n' 'clang' '  Depends: clang-19' '  Depends: libc6' >"$S/clang-depends"
run_installer
check "exits 0" test "$rc" = 0
check "installs clang 19's runtime with clang" bash -c "grep 'apt-get install' '$S/calls.log' | grep -q ' clang .*libclang-rt-19-dev'"
check "asks apt for the version only once the lists are there" bash -c "grep -n . '$S/calls.log' | grep -A9 'apt-get update' | grep -q 'apt-cache depends clang'"

echo "$passed passed, $failed failed"
((failed == 0))
