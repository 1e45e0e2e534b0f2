# Shared by the scripts: the project root and installing missing Debian packages.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

# Installs the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake make g++ qt6-base-dev libgl-dev fonts-dejavu-core zlib1g-dev libpng-dev
    libfreetype-dev)
# Building the Debian package (scripts/package): dpkg-shlibdeps, dpkg-buildflags, file.
PACKAGE_PACKAGES=(dpkg-dev file)
# Checking the installed files and the package (scripts/test-install), besides the tools
# of the end-to-end tests.
INSTALL_TEST_PACKAGES=(desktop-file-utils appstream groff-base librsvg2-bin lintian)
# The converter's consumers: the assemblers, console font tools and fonts, bdftopcf and
# ImageMagick; X and TrueType fonts with pcf2bdf, fonts --info describes (Terminus OTB,
# Wine's .fon, unifont), and the code pages' charmaps (locales).
# The machines' emulators and viewers that show what the converter writes for them.
MACHINE_PACKAGES=(fuse-emulator-sdl opense-basic dosbox ansilove openmsx cbios)
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" "${MACHINE_PACKAGES[@]}" libgtest-dev libbenchmark-dev python3 xvfb openbox xdotool
    x11-apps x11-utils cc65 acme 64tass xa65 dasm pasmo z80asm kbd console-setup-linux
    xfonts-utils imagemagick "${PACKAGE_PACKAGES[@]}" "${INSTALL_TEST_PACKAGES[@]}"
    fonts-misaki fonts-spleen xfonts-base fonts-terminus-otb fonts-wine fonts-unifont pcf2bdf
    locales)
