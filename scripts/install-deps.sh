#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev binutils-mingw-w64-i686
          wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei fonts-wine locales python3)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then SUDO=sudo; else
        echo "install-deps: missing packages (${missing[*]}) and not root; install them and retry" >&2
        exit 1
    fi
else
    SUDO=
fi

if ! command -v apt-get >/dev/null; then
    echo "install-deps: this script needs Debian/Ubuntu apt-get; install by hand: ${missing[*]}" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq || { echo "install-deps: apt-get update failed" >&2; exit 1; }
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || { echo "install-deps: apt-get install failed for: ${missing[*]}" >&2; exit 1; }
