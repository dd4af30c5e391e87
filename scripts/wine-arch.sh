# Sourced by every script that runs Windows programs: chooses the Wine loader and the build.
# Taliveer is a 32-bit program and is tested as one wherever the kernel runs 32-bit code.
# Some kernels have 32-bit emulation switched off ("ia32_emulation"); there Wine's 32-bit
# loader cannot start at all, and the same sources are tested as a 64-bit build under
# 64-bit Wine instead. TALIVEER_WINE_ARCH=i686 or x86_64 forces the choice.

# True when 32-bit x86 programs would run through an emulator registered with binfmt_misc
# (qemu-i386): that is no kernel support, and a whole test run emulated would take hours.
i386_emulated() {
  local entry
  # In a chroot the registrations are there but not their folder, unless it is mounted.
  if [[ ! -e /proc/sys/fs/binfmt_misc/status && $(id -u) == 0 ]]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc >/dev/null 2>&1
  fi
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [[ -f "$entry" && "$entry" != */register && "$entry" != */status ]] || continue
    grep -qx enabled "$entry" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null && return 0
  done
  return 1
}

if [[ -z "${TALIVEER_WINE_ARCH:-}" ]]; then
  if ! i386_emulated && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
    TALIVEER_WINE_ARCH=i686
  else
    TALIVEER_WINE_ARCH=x86_64
  fi
fi
export TALIVEER_WINE_ARCH
if [[ "$TALIVEER_WINE_ARCH" == i686 ]]; then
  export TALIVEER_WINE=wine TALIVEER_PRESET=wine
else
  export TALIVEER_WINE=/usr/lib/wine/wine64 TALIVEER_PRESET=wine64 WINELOADER=/usr/lib/wine/wine64
fi
export TALIVEER_BUILD_DIR="${TALIVEER_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}/build/$TALIVEER_PRESET"
