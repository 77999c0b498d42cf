# Shared by scripts/run and scripts/test: installs what is missing, then configures and builds.
# shellcheck shell=bash
set -euo pipefail

LUMBREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Installs every package of scripts/packages.txt that is not installed yet.
# Does nothing (and needs no root) when all are there.
lumbrel_install_packages() {
    local missing=() pkg
    while read -r pkg; do
        pkg=${pkg%%#*}
        pkg=${pkg//[[:space:]]/}
        [ -z "$pkg" ] && continue
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done < "$LUMBREL_ROOT/scripts/packages.txt"
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}" >&2
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "error: these packages are missing and this is not root: ${missing[*]}" >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# lumbrel_build BUILD_DIR [cmake options...]
lumbrel_build() {
    local dir=$1
    shift
    cmake -S "$LUMBREL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

# Compiler settings of the sanitizer and fuzz builds: clang at -O1 with line tables only
# compiles in about half the time of gcc at -O2 -g, and the reports still name file and
# line.
LUMBREL_CLANG_SANITIZER_BUILD=(-DCMAKE_CXX_COMPILER=clang++
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
