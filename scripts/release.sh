#!/bin/bash
# Builds both Windows builds of the same sources and writes the release folder (as root on
# Debian 12 or 13; installs what it needs):
#   build/release/Taliveer.exe        32-bit, runs on every supported Windows
#   build/release/Taliveer64.exe      64-bit, for 64-bit Windows
#   build/release/*.exe.debug         their debug sections (a debugger finds them by name)
#   build/release/SHA256SUMS          the checksums of all of them
#   build/release/README.txt          which one to pick
# Each build is made in a folder of its own (build/release-i686, build/release-x86_64).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

mkdir -p build
if ! bash scripts/install-deps.sh run >build/install-deps.log 2>&1; then
  cat build/install-deps.log
  exit 1
fi
grep '^== left out' build/install-deps.log || true

out="build/release"
rm -rf "$out"
mkdir -p "$out"
for build in "wine i686 Taliveer.exe" "wine64 x86_64 Taliveer64.exe"; do
  read -r preset arch name <<<"$build"
  dir="build/release-$arch"
  cmake --preset "$preset" -B "$dir" -DTALIVEER_TESTS=OFF >/dev/null
  cmake --build "$dir" --target Taliveer
  cp "$dir/Taliveer.exe" "$out/$name"
  cp "$dir/Taliveer.exe.debug" "$out/$name.debug"
  # The link to the debug file names the file it now is.
  triple=$([[ $arch == i686 ]] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)
  (cd "$out" && "$triple-objcopy" --remove-section=.gnu_debuglink "$name" &&
    "$triple-objcopy" --add-gnu-debuglink="$name.debug" "$name")
done

cat >"$out/README.txt" <<'EOF'
Taliveer: which file to start

Taliveer64.exe  On 64-bit Windows (most computers today). It sees the Windows folder and the
                registry as 64-bit programs do, with nothing redirected, and reads the paths of
                64-bit programs directly.
Taliveer.exe    The 32-bit build: runs on every Windows from Windows 7 SP1 on, 32-bit or 64-bit.
                On 64-bit Windows it asks for the 64-bit registry view and the 64-bit registry
                editor by name wherever that matters, so it manages the same entries.

Both may sit in the same folder: they keep one window between them (starting either one
brings the open window to the front) and share the Undo folder beside them, so a backup made
by one can be restored by the other. The .debug files are for debugging only.
EOF
sed -i "s/\$/\r/" "$out/README.txt"  # Windows line ends
(cd "$out" && sha256sum Taliveer.exe Taliveer64.exe Taliveer.exe.debug Taliveer64.exe.debug README.txt >SHA256SUMS)
echo "== release written to $out:"
(cd "$out" && ls -l && cat SHA256SUMS)
