#!/usr/bin/env bash
# Installs every Debian 12 package Pavlora needs to build, run and test.
# Idempotent: installed packages are skipped, and the package lists are
# refreshed only when something is missing. Works as root or through sudo,
# never asks a question, and waits for a package lock held by another apt.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config ccache git clang-format
  # Qt 6: Core, Gui, Widgets, PrintSupport, DBus, Test; image plugins (TIFF, ...)
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  # data documents, crypto, network, archives
  libpugixml-dev nettle-dev libcurl4-openssl-dev libssl-dev libzip-dev
  # pictures and metadata
  libexiv2-dev libopenjp2-7-dev libturbojpeg0-dev libjpeg62-turbo-dev
  # discs, cameras and cards
  libisofs-dev libburn-dev libisoburn-dev libgphoto2-dev
  # reference order server and test servers
  libcpp-httplib-dev openssl
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # fonts: Liberation Sans stands in for Arial
  fonts-liberation2 fontconfig
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo --preserve-env=DEBIAN_FRONTEND)
else
  echo "install-deps: missing packages and neither root nor sudo: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt_opts=(-o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get "${apt_opts[@]}" update -q
"${as_root[@]}" apt-get "${apt_opts[@]}" install -y -q --no-install-recommends "${missing[@]}"
