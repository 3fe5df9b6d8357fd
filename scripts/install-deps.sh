#!/usr/bin/env bash
# Installs what Quorbel needs to build and run its tests on Debian or Ubuntu, and generates the
# German locale the locale test runs in; with the argument "fuzz" also what the fuzzing harnesses
# need (clang and its libFuzzer runtime). Does nothing when everything is already present.
set -euo pipefail

packages=(
    build-essential
    cmake
    make
    qt6-base-dev
    qt6-svg-dev
    # The band response plot; Qt Charts' CMake package also needs the OpenGL development files,
    # which qt6-charts-dev does not pull in.
    qt6-charts-dev
    libqt6opengl6-dev
    libgl-dev
    # The lock keys are read from the X server's keyboard extension.
    libxcb-xkb-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libpng-dev
    # The optimiser's global and local searches.
    libnlopt-cxx-dev
    fonts-dejavu-core
    xdg-utils
    # The netlist test simulates the tool's SPICE output.
    ngspice
    # The readout's numbers are checked under a locale with a decimal comma.
    locales
    # The Touchstone reader is compared with scikit-rf on the files it ships.
    python3-scikit-rf
    # The desktop entry is checked with desktop-file-validate.
    desktop-file-utils
    # The PNG icons are rendered from the SVG at build time.
    librsvg2-bin
    # The Debian package (make package) and its check: dpkg-shlibdeps and dpkg-deb, file (which
    # CPack asks what is a binary), lintian, the AppStream and MIME validators, man to render the
    # manual pages and bash-completion to load the completion.
    dpkg-dev
    file
    lintian
    appstream
    shared-mime-info
    libxml2-utils
    man-db
    bash-completion
    # The suite under a real X server: Xvfb, xdotool to type and click, xkbcomp for a keymap
    # that locks Scroll Lock.
    xvfb
    xdotool
    x11-xkb-utils
)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-dev)
fi
# The locale that test switches to, as locale-gen names it.
test_locale="de_DE.UTF-8 UTF-8"

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a lists de_DE.UTF-8 as de_DE.utf8.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale ${test_locale%% *}"
    if grep -qx "# *${test_locale}" /etc/locale.gen 2>/dev/null; then
        "${sudo[@]}" sed -i "s/^# *${test_locale}\$/${test_locale}/" /etc/locale.gen
    elif ! grep -qx "${test_locale}" /etc/locale.gen 2>/dev/null; then
        echo "${test_locale}" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen
fi
