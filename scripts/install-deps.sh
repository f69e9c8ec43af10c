#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing qm415 needs, when missing.
# Usage: install-deps.sh run|test|bench
set -euo pipefail

# poppler-utils: the program reads the PDFs the user opens with its pdfinfo.
build_pkgs=(cmake ninja-build g++ qt6-base-dev libgl-dev libicu-dev libcups2-dev qt6-svg-dev
            fonts-liberation qt6-qpa-plugins poppler-utils)
test_pkgs=(xvfb xauth xdotool x11-utils openbox imagemagick dbus dbus-bin
           cups cups-client printer-driver-cups-pdf
           clang libclang-rt-14-dev libbenchmark-dev fonts-dejavu-core
           at-spi2-core python3-pyatspi dpkg-dev file lintian appstream desktop-file-utils man-db)
# The start-up benchmark (bench/startup.sh) watches for the first frame through X's Damage
# extension (its watcher is built with the tests) and counts instructions with callgrind.
test_pkgs+=(libxcb-damage0-dev pkgconf)
# The tests of opening make hostile PDFs: packed by zlib, protected by a password and rewritten
# by another program (Ghostscript).
test_pkgs+=(zlib1g-dev ghostscript)
bench_pkgs=(valgrind time)

pkgs=("${build_pkgs[@]}")
[ "${1:-run}" = test ] && pkgs+=("${test_pkgs[@]}")
[ "${1:-run}" = bench ] && pkgs+=("${test_pkgs[@]}" "${bench_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
