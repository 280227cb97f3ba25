# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by scripts/test and scripts/demo; `install_deps` is the one entry point.

RTD_DEPS=(
    cmake g++ make ninja-build pkg-config
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32 wine64 clang libclang-rt-14-dev
    xvfb xauth x11-apps libfltk1.3-dev valgrind clang-format
    xdotool imagemagick
    libusb-1.0-0-dev libftdi1-dev
    dpkg-dev groff-base python3
)

# Prints the packages of RTD_DEPS (and any extra arguments) that are not installed.
missing_deps() {
    local package
    for package in "${RTD_DEPS[@]}" "$@"; do
        # wine32 is an i386 package: dpkg knows it as wine32:i386.
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' &&
            ! dpkg-query -W -f='${Status}' "$package:i386" 2>/dev/null | grep -q 'ok installed'; then
            echo "$package"
        fi
    done
}

# Installs whatever is missing (needs root); does nothing when all is there.
install_deps() {
    local missing
    missing=$(missing_deps "$@")
    [[ -z $missing ]] && return 0
    echo "Installing: $(echo $missing)"
    local sudo=
    [[ $(id -u) != 0 ]] && sudo=sudo
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}
