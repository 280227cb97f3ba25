# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by scripts/test and scripts/demo; `install_deps` is the one entry point.
# apt's own output goes to a log (RTD_APT_LOG, default build/apt.log); the terminal gets
# one line per step with its time, and the log's tail when a step fails.

RTD_DEPS=(
    cmake g++ make ninja-build pkg-config ccache
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32 wine64 clang libclang-rt-14-dev
    xvfb xauth x11-apps libfltk1.3-dev valgrind clang-format
    xdotool imagemagick
    libusb-1.0-0-dev libftdi1-dev
    dpkg-dev file lintian desktop-file-utils groff-base python3
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

# apt_step TEXT COMMAND...: one line saying what is being done, the command's output in
# the log, and the time it took; the log's tail when it fails.
apt_step() {
    local text=$1 start=$SECONDS
    shift
    printf '%s (log: %s)...' "$text" "$RTD_APT_LOG"
    echo "=== $text: $*" >>"$RTD_APT_LOG"
    if "$@" >>"$RTD_APT_LOG" 2>&1; then
        echo " done in $((SECONDS - start)) s"
        return 0
    fi
    echo " FAILED after $((SECONDS - start)) s; the log's last lines:"
    tail -25 "$RTD_APT_LOG" | sed 's/^/    /'
    return 1
}

# Installs whatever is missing (needs root); does nothing when all is there. The i386
# architecture is added only when an i386 package (wine32) is among the missing ones.
install_deps() {
    local missing
    missing=$(missing_deps "$@")
    [[ -z $missing ]] && return 0
    RTD_APT_LOG=${RTD_APT_LOG:-${BUILD_ROOT:-$root/build}/apt.log}
    mkdir -p "$(dirname "$RTD_APT_LOG")"
    : >"$RTD_APT_LOG"
    local sudo=()
    [[ $(id -u) != 0 ]] && sudo=(sudo)
    if grep -qx wine32 <<<"$missing" && ! dpkg --print-foreign-architectures | grep -qx i386; then
        apt_step "Adding the i386 architecture (for wine32)" "${sudo[@]}" dpkg --add-architecture i386 ||
            return 1
    fi
    apt_step "Updating the package lists" "${sudo[@]}" apt-get update || return 1
    local count
    count=$(wc -w <<<"$missing")
    echo "=== packages: $(echo $missing)" >>"$RTD_APT_LOG"
    # shellcheck disable=SC2086
    local plural=s
    [[ $count == 1 ]] && plural=
    apt_step "Installing $count package$plural" "${sudo[@]}" \
        env DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
}
