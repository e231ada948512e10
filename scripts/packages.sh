# Installs the Debian packages named in its arguments that are not installed yet.
# Sourced by play.sh and test.sh; run as root on Debian 12.
ensure_packages() {
    local missing=()
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# dpkg-dev and file let CPack find the Debian package's run-time dependencies;
# appstream and desktop-file-utils check the desktop entry and software-centre data.
# fonts-dejavu-core gives the program (and its offscreen tests) a sans-serif face.
BUILD_PACKAGES=(g++ cmake make pkg-config libgtest-dev libbenchmark-dev
                qt6-base-dev qt6-svg-dev libgl-dev kdegames-card-data-kf5
                dpkg-dev file appstream desktop-file-utils
                fonts-dejavu-core)
