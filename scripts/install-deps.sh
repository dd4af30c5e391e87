#!/bin/bash
# Installs what Taliveer needs on a Debian 12 or 13 machine (run as root):
#   install-deps.sh run    what building and starting the program needs
#   install-deps.sh test   that, and what the tests need (the default)
# Safe to run again: apt skips what is already there.
#
# A Debian mirror is sometimes caught mid-sync: an index that does not match its Release file
# makes `apt-get update` fail, and then amd64 and i386 can know different versions of the
# packages that must match across architectures, so the install fails as well. The update is
# tried three times; when indexes still fail, the install goes on with what arrived, and if it
# then fails, it is tried once more from only the suites whose indexes arrived for every
# architecture (a temporary source list: the machine's own source files are never changed).
#
# For the tests of these decisions: APT_ETC (default /etc/apt) is where the sources are read,
# TALIVEER_APT_PAUSE the seconds between tries (default 20).
set -uo pipefail

profile="${1:-test}"
case "$profile" in
  run | test) ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
apt_etc="${APT_ETC:-/etc/apt}"
pause="${TALIVEER_APT_PAUSE:-20}"

run_packages=(
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-liberation
  cmake ninja-build
)
# qemu-user-static: the 32-bit build's tests where the kernel cannot run 32-bit code.
test_packages=(g++ googletest clang xclip qemu-user-static)

say() { echo "== $*"; }
fail() {
  echo "== the packages could not be installed: $*" >&2
  exit 1
}

missing_of() {  # prints the packages of "$@" that dpkg does not have installed
  local p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || echo "$p"
  done
}

# The sanitizer and fuzzer runtime belongs to the clang that is (or will be) installed:
# libclang-rt-14-dev on Debian 12, libclang-rt-19-dev on Debian 13. Before the package lists
# are read (`clang_runtime installed`), only an installed clang tells.
clang_runtime() {
  local major=""
  if command -v clang >/dev/null 2>&1; then
    major="$(clang -dumpversion 2>/dev/null | cut -d. -f1)"
  fi
  if [[ -z "$major" && "${1:-}" != installed ]]; then
    major="$(apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)"
  fi
  [[ -n "$major" ]] && echo "libclang-rt-${major}-dev"
}

# The suites whose indexes failed in an `apt-get update` log, each once: the part after
# "dists/" of every URL apt could not fetch.
failed_suites() {
  sed -n -E 's#^[EW]: Failed to fetch [^ ]*/dists/([^/ ]+)/.*#\1#p' "$1" | sort -u
}

# What failed first in an `apt-get update` log, in a few words: the index and apt's reason.
failed_index() {
  grep -m 1 -E '^[EW]: (Failed to fetch|The repository|Release file|Could not)' "$1" |
    sed -E 's/^[EW]: //; s#^Failed to fetch [^ ]*/dists/([^ ]+) +#\1: #; s/ *\[IP:[^]]*\]//' | cut -c 1-200
}

# Writes the machine's sources without the suites given into folder $1: one-line entries into
# $1/list (apt's source list), deb822 stanzas into $1/parts/taliveer.sources (its parts
# folder); prints how many entries are left.
write_sources_without() {
  local out="$1"
  shift
  local skip=" $* "
  mkdir -p "$out/parts"
  : >"$out/list"
  local f
  for f in "$apt_etc/sources.list" "$apt_etc"/sources.list.d/*.list; do
    [[ -f "$f" ]] || continue
    awk -v skip="$skip" '
      /^[ \t]*deb(-src)?[ \t]/ {
        line = $0; sub(/\[[^]]*\]/, "", line); n = split(line, w, /[ \t]+/)
        i = (w[1] == "") ? 3 : 2  # a leading blank gives an empty first field
        if (index(skip, " " w[i + 1] " ")) next
        print
      }' "$f" >>"$out/list"
  done
  : >"$out/parts/taliveer.sources"
  for f in "$apt_etc"/sources.list.d/*.sources; do
    [[ -f "$f" ]] || continue
    awk -v skip="$skip" '
      function flush(   i, kept) {
        if (n == 0) return
        kept = ""
        for (i = 1; i <= ns; i++) if (!index(skip, " " s[i] " ")) kept = kept " " s[i]
        if (kept != "" || !hadsuites) {
          for (i = 1; i <= n; i++) print (i == suiteline ? "Suites:" kept : l[i])
          print ""
        }
        n = 0; ns = 0; suiteline = 0; hadsuites = 0
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      {
        l[++n] = $0
        if ($1 == "Suites:") { suiteline = n; hadsuites = 1; ns = 0; for (i = 2; i <= NF; i++) s[++ns] = $i }
      }
      END { flush() }' "$f" >>"$out/parts/taliveer.sources"
  done
  echo $(($(grep -c -E '^[ \t]*deb' "$out/list") + $(grep -c '^Suites:' "$out/parts/taliveer.sources")))
}

if ! command -v dpkg >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  fail "this is not a Debian machine (no dpkg or apt-get)"
fi

wanted=("${run_packages[@]}")
[[ "$profile" == test ]] && wanted+=("${test_packages[@]}")
runtime="$(clang_runtime installed)"
[[ "$profile" == test && -n "$runtime" ]] && wanted+=("$runtime")
mapfile -t missing < <(missing_of "${wanted[@]}")
if ((${#missing[@]} == 0)) && [[ "$profile" == run || -n "$runtime" ]]; then
  exit 0
fi
[[ "$(id -u)" == 0 ]] || fail "run this as root to install: ${missing[*]}"

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 || fail "the i386 architecture could not be added"
fi

log="$(mktemp /tmp/taliveer-apt.XXXXXX)"
tmp_sources=""
trap 'rm -rf "$log" $tmp_sources' EXIT
updated=0
for try in 1 2 3; do
  if timeout 600 apt-get update -q >"$log" 2>&1; then
    updated=1
    break
  fi
  cat "$log"
  say "apt-get update failed (try $try of 3): $(failed_index "$log")"
  ((try < 3)) && sleep "$pause"
done
mapfile -t bad_suites < <(((updated)) || failed_suites "$log")

# clang's runtime can be named only once the package lists are there.
if [[ "$profile" == test && -z "$runtime" ]]; then
  runtime="$(clang_runtime)"
  [[ -n "$runtime" ]] || fail "no package list names clang's version; apt-get update said: $(failed_index "$log")"
  missing+=("$runtime")
fi

install() {  # install [apt options...]: the missing packages
  timeout 2400 apt-get install -y -q --no-install-recommends "$@" "${missing[@]}"
}

if install; then
  exit 0
fi
if ((${#bad_suites[@]} == 0)); then
  fail "apt-get install failed (see above); the package lists are complete, so a package may be missing from this release: $(echo "${missing[@]}")"
fi

# Some indexes did not arrive: install from the suites whose indexes arrived for every
# architecture, so that amd64 and i386 see the same versions.
tmp_sources="$(mktemp -d /tmp/taliveer-sources.XXXXXX)"
left=$(write_sources_without "$tmp_sources" "${bad_suites[@]}")
if [[ "${left:-0}" == 0 ]]; then
  fail "no suite's indexes arrived for every architecture: $(failed_index "$log"); try again later (a mirror mid-sync settles within hours) or use another mirror in /etc/apt/sources.list"
fi
say "left out ${bad_suites[*]} for this install, whose index did not arrive for every architecture ($(failed_index "$log")): the packages come from the other suites"
if install -o Dir::Etc::sourcelist="$tmp_sources/list" -o Dir::Etc::sourceparts="$tmp_sources/parts"; then
  exit 0
fi
fail "apt-get install failed even without ${bad_suites[*]} (see above): $(failed_index "$log"); try again later (a mirror mid-sync settles within hours) or use another mirror in /etc/apt/sources.list"
