# Installs the Debian packages named as arguments that are not installed
# yet; sourced by the scripts that build. Needs root only when something is
# missing. A name of another architecture (wine32:i386) adds that
# architecture to dpkg first, once.
install_packages() {
    local missing=() arch
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [[ ${#missing[@]} -eq 0 ]] && return
    if [[ $(id -u) -ne 0 ]]; then
        echo "missing packages: ${missing[*]} (run as root to install them)" >&2
        exit 1
    fi
    echo "== installing ${missing[*]}"
    for p in "${missing[@]}"; do
        [[ "$p" == *:* ]] || continue
        arch=${p##*:}
        if [[ "$arch" != "$(dpkg --print-architecture)" ]] &&
            ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            echo "== adding the $arch architecture"
            dpkg --add-architecture "$arch"
        fi
    done
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
