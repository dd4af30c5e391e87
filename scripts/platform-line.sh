# Sourced by the two README commands: the Debian release and the Wine version they run on,
# in a few words, for their first line.
platform_line() {
  local release codename wine
  release="$(cat /etc/debian_version 2>/dev/null || echo unknown)"
  codename="$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")"
  wine="$(dpkg-query -W -f='${Version}' wine 2>/dev/null || true)"
  echo "Debian ${release}${codename:+ ($codename)}, Wine ${wine:-not installed}"
}
