#!/usr/bin/env bash
# Installs the Debian packages hcurve needs to build, test and run, and only those that are missing.
# Quiet and quick when everything is present; uses sudo when not run as root.
# Usage: tools/setup.sh [windows]  (windows: also what the Windows build and its run under Wine
# need: the MinGW-w64 cross compiler, GoogleTest's sources, Wine)
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-wqy-microhei
    poppler-utils
    python3 python3-ezdxf python3-shapely
    libpugixml-dev libcgal-dev
    qt6-translations-l10n dpkg-dev
)
# The Windows build's packages come without what they only recommend: Wine recommends
# fonts-liberation, which would take the place of the window's Chinese face in Latin text.
extras=()
for want in "$@"; do
    case $want in
        windows) extras+=(g++-mingw-w64-x86-64-posix googletest wine64 util-linux diffutils) ;;
        *) echo "usage: tools/setup.sh [windows]" >&2; exit 2 ;;
    esac
done

missing_of() {
    local p status
    for p in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || echo "$p"
    done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_extras < <(missing_of "${extras[@]}")
[[ ${#missing[@]} -eq 0 && ${#missing_extras[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]} ${missing_extras[*]}" >&2
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || {
        echo "need root or sudo to install: ${missing[*]} ${missing_extras[*]}" >&2
        exit 1
    }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
[[ ${#missing[@]} -eq 0 ]] || "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
[[ ${#missing_extras[@]} -eq 0 ]] ||
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing_extras[@]}"
