# Installs the Debian packages the build needs, only those not yet present.
# Sourced by run.sh and test.sh.

velkor_packages=(
  build-essential cmake ninja-build pkg-config
  libicu-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3
  qt6-base-dev qt6-translations-l10n fonts-liberation fonts-dejavu-core
  xvfb xauth
)

velkor_install_missing() {
  local missing=()
  for p in "${velkor_packages[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
