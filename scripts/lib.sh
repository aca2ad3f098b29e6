# SPDX-License-Identifier: GPL-2.0-or-later
# Shared by the set-up scripts: installing what is missing, and the build folders.

KELIMBO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

# Installs the Debian packages of the list that are not installed yet.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # apt and dpkg report every step; their lines are shown only when it fails.
    local log
    log=$(mktemp)
    if ! { $sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"; } >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "Installing ${missing[*]} failed" >&2
        return 1
    fi
    rm -f "$log"
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkgconf qt6-base-dev libgl-dev fonts-dejavu-core
    libxml2-dev zlib1g-dev libhunspell-dev lttoolbox-dev libicu-dev libxxhash-dev libsqlite3-dev)
# What the tests need on top of that: desktop-file-utils and appstream check an
# installed tree, dpkg-dev and lintian the Debian package made from it; the
# benchmarks are built too and run once on a dictionary grown from the word lists; hunspell-ru and apertium-rus-ukr are the data of the Russian base-form tests;
# fortunes-ru is the Russian running text of the coverage benchmark;
# libxapian-dev is the other engine of the full-text index's comparison benchmark;
# dict-freedict-epo-eng is real dictd data for the readers and the import.
TEST_PACKAGES=(libgtest-dev clang libclang-rt-14-dev desktop-file-utils appstream dpkg-dev
    lintian libbenchmark-dev wesperanto hunspell-ru dict-freedict-epo-eng
    apertium-rus-ukr fortunes-ru libxapian-dev)

# What trying the window by hand on a virtual desktop needs (scripts/desktop):
# the X server, a window manager, a driver of keys and mouse, a screen grabber,
# and xprop to read what the window manager is told of a window.
DESKTOP_PACKAGES=(xvfb openbox xdotool imagemagick x11-utils)

# Configures and builds one build folder: configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$KELIMBO_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$JOBS"
}
