# Builds zlib, libpng and FreeType as static MinGW-w64 (i686, win32 threads) libraries for
# tessaly-convert.exe, from Debian's own source packages: Debian ships no MinGW builds of
# them. The sources come through a private apt configuration under build/, so the
# machine's own is untouched; the installed result is kept in build/windows-libs and built
# only once. Sourced by scripts/build-windows, which calls build_windows_libs.

WINLIBS="$ROOT/build/windows-libs"
WINLIBS_PREFIX="$WINLIBS/prefix"
WINLIBS_HOST=i686-w64-mingw32

# apt-get with its lists, cache and source list in build/windows-libs/apt only.
winlibs_apt() {
    local apt="$WINLIBS/apt"
    apt-get -q -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=- \
        -o Dir::State="$apt/state" -o Dir::Cache="$apt/cache" \
        -o Debug::NoLocking=1 "$@"
}

# Unpacks the Debian source package $1 into $WINLIBS/src and prints its folder.
winlibs_source() {
    local dir
    dir=$(find "$WINLIBS/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" -print -quit)
    if [ -z "$dir" ]; then
        (cd "$WINLIBS/src" && winlibs_apt source --only-source "$1" >/dev/null 2>&1) || {
            echo "apt-get source $1 failed" >&2
            return 1
        }
        dir=$(find "$WINLIBS/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" -print -quit)
    fi
    echo "$dir"
}

build_windows_libs() {
    # Built again only when this recipe changes.
    local stamp="$WINLIBS_PREFIX/.complete" recipe
    recipe=$(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)
    [ "$(cat "$stamp" 2>/dev/null)" = "$recipe" ] && return 0
    ensure_packages dpkg-dev cmake make g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
    echo "== Building zlib, libpng and FreeType for Windows from Debian's sources (once)"
    local apt="$WINLIBS/apt"
    rm -rf "$WINLIBS_PREFIX" "$WINLIBS/work"
    mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$WINLIBS/src" \
        "$WINLIBS/work"
    # The machine's own release, as a source entry.
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "deb-src http://deb.debian.org/debian $codename main" >"$apt/sources.list"
    winlibs_apt update >/dev/null
    local zlib png ft
    zlib=$(winlibs_source zlib)
    png=$(winlibs_source libpng1.6)
    ft=$(winlibs_source freetype)

    local toolchain="$ROOT/cmake/mingw-w64-i686.cmake"
    local common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$WINLIBS_PREFIX" -DCMAKE_PREFIX_PATH="$WINLIBS_PREFIX"
        -DCMAKE_FIND_ROOT_PATH="$WINLIBS_PREFIX" -DBUILD_SHARED_LIBS=OFF
        -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)

    # zlib: its own static library only (the CMake build also makes the DLL; install both
    # and drop the DLL and its import library).
    cmake -S "$zlib" -B "$WINLIBS/work/zlib" "${common[@]}" >/dev/null
    cmake --build "$WINLIBS/work/zlib" -j"$JOBS" --target zlibstatic >/dev/null
    mkdir -p "$WINLIBS_PREFIX/include" "$WINLIBS_PREFIX/lib"
    cp "$WINLIBS/work/zlib/libzlibstatic.a" "$WINLIBS_PREFIX/lib/libz.a"
    cp "$zlib/zlib.h" "$WINLIBS/work/zlib/zconf.h" "$WINLIBS_PREFIX/include/"

    cmake -S "$png" -B "$WINLIBS/work/png" "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
        -DZLIB_LIBRARY="$WINLIBS_PREFIX/lib/libz.a" \
        -DZLIB_INCLUDE_DIR="$WINLIBS_PREFIX/include" >/dev/null
    cmake --build "$WINLIBS/work/png" -j"$JOBS" >/dev/null
    cmake --install "$WINLIBS/work/png" >/dev/null

    cmake -S "$ft" -B "$WINLIBS/work/freetype" "${common[@]}" -DFT_REQUIRE_ZLIB=ON \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON -DZLIB_LIBRARY="$WINLIBS_PREFIX/lib/libz.a" \
        -DZLIB_INCLUDE_DIR="$WINLIBS_PREFIX/include" >/dev/null
    cmake --build "$WINLIBS/work/freetype" -j"$JOBS" >/dev/null
    cmake --install "$WINLIBS/work/freetype" >/dev/null
    rm -rf "$WINLIBS/work"
    echo "$recipe" >"$stamp"
}
