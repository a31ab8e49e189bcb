# Sourced by the other scripts: installs the Debian packages that are missing.
# Usage: ensure_packages pkg...   (quiet when everything is present)

RUNTIME_PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n
  libsimpleini-dev zlib1g-dev libzint-dev libcsv-dev nlohmann-json3-dev libxxhash-dev
  qt6-svg-dev libpoppler-qt6-dev
  fonts-liberation2 fonts-material-design-icons-iconfont
)
# Building and checking the Debian package (scripts/package.sh and its test).
PACKAGE_PACKAGES=(
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info
)
TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  dbus-daemon xvfb xauth zxing-cpp-tools
  "${PACKAGE_PACKAGES[@]}" bash-completion
)

ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installiere fehlende Pakete: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# ccache keys on paths relative to the checkout, so a fresh clone elsewhere
# reuses earlier compilations.
setup_ccache() {
  export CCACHE_BASEDIR="$ROOT"
  export CCACHE_NOHASHDIR=1
  export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
}
