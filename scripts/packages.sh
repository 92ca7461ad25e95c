# Shared by scripts/run and scripts/test: installs the Debian packages that are
# missing. Sourced, not run.

calvoro_build_packages=(cmake ninja-build g++ ccache qt6-base-dev libqt6opengl6-dev libgl-dev libjpeg62-turbo-dev
                        libbenchmark-dev libgtest-dev libgmock-dev)
calvoro_test_packages=(xvfb xauth clang-14 libclang-rt-14-dev)
# What the program itself calls at run time: xdg-email hands a translation to the mail program.
calvoro_run_packages=(xdg-utils)

calvoro_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

calvoro_jobs() {
    echo "${CALVORO_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}
