#!/usr/bin/env bash
# Installs the Debian packages hcurve needs to build, test and run, and only those that are missing.
# Quiet and quick when everything is present; uses sudo when not run as root.
# Usage: tools/setup.sh [windows] [web]  (windows: also what the Windows build and its run under
# Wine need: the MinGW-w64 cross compiler, GoogleTest's sources, Wine; web: emscripten, the acorn
# parser its optimiser needs, GoogleTest's sources, and pugixml's Debian source package unpacked
# in build/sources/pugixml, since the archive has pugixml built for the host only; rsvg-convert
# for the site's icons; and for the browser tests Debian's chromium and firefox-esr and
# puppeteer-core from npm, the versions of tests/web/package-lock.json, into tests/web/node_modules,
# never downloading a browser of its own)
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    # the default preset's generator and linker (make check's loop of minutes)
    ninja-build lld
    qt6-base-dev qt6-svg-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-wqy-microhei
    # Liberation Sans, which fontconfig gives for Arial, as on many desktops and wherever chromium
    # is installed: the window's tests check that its Chinese faces hold with it there.
    fonts-liberation
    poppler-utils
    python3 python3-ezdxf python3-shapely
    libpugixml-dev libfmt-dev libfast-float-dev libcgal-dev
    qt6-translations-l10n dpkg-dev
)
# The Windows and browser builds' packages come without what they only recommend (Wine's and
# chromium's and firefox-esr's fonts, desktop services); the browsers get the fonts they need above.
extras=()
web=0
for want in "$@"; do
    case $want in
        windows) extras+=(g++-mingw-w64-x86-64-posix googletest wine64 util-linux diffutils) ;;
        web) extras+=(emscripten node-acorn nodejs googletest dpkg-dev chromium firefox-esr librsvg2-bin) web=1 ;;
        *) echo "usage: tools/setup.sh [windows] [web]" >&2; exit 2 ;;
    esac
done

missing_of() {
    local p status
    for p in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || echo "$p"
    done
}
# pugixml's sources for the web build, unpacked once from Debian's source package (the version the
# host's libpugixml-dev is) into build/sources; never part of the repository.
root=$(cd "$(dirname "$0")/.." && pwd)
pugixml_source="$root/build/sources/pugixml"
want_pugixml_source=0
[[ $web -eq 1 && ! -f "$pugixml_source/src/pugixml.cpp" ]] && want_pugixml_source=1
# The browser tests' node packages, installed again whenever the lock file is newer than what
# npm last installed from it (npm keeps its own copy of the lock in node_modules).
browser_tests="$root/tests/web"
want_node_packages=0
if [[ $web -eq 1 ]]; then
    installed_lock="$browser_tests/node_modules/.package-lock.json"
    [[ -f "$installed_lock" && ! "$browser_tests/package-lock.json" -nt "$installed_lock" ]] ||
        want_node_packages=1
fi

mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_extras < <(missing_of "${extras[@]}")
[[ ${#missing[@]} -eq 0 && ${#missing_extras[@]} -eq 0 && $want_pugixml_source -eq 0 &&
    $want_node_packages -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || {
        echo "need root or sudo to install: ${missing[*]} ${missing_extras[*]}" >&2
        exit 1
    }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if [[ ${#missing[@]} -ne 0 || ${#missing_extras[@]} -ne 0 ]]; then
    echo "Installing missing packages: ${missing[*]} ${missing_extras[*]}" >&2
    "${as_root[@]}" apt-get update -qq
    [[ ${#missing[@]} -eq 0 ]] || "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
    # emscripten only recommends numpy and d3, which the build never uses.
    [[ ${#missing_extras[@]} -eq 0 ]] ||
        "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing_extras[@]}"
fi

if [[ $want_pugixml_source -eq 1 ]]; then
    # apt-get source needs the archive's source lines; added beside the binary ones when there are
    # none, for Debian's own archive.
    if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "Adding the archive's source lines (/etc/apt/sources.list.d/hcurve-sources.sources)" >&2
        . /etc/os-release
        printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
            "Suites: $VERSION_CODENAME $VERSION_CODENAME-updates" 'Components: main' \
            'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            "${as_root[@]}" tee /etc/apt/sources.list.d/hcurve-sources.sources >/dev/null
        "${as_root[@]}" apt-get update -qq
    fi
    version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
    scratch="$root/build/sources/.pugixml-download"
    rm -rf "$scratch" "$pugixml_source"
    mkdir -p "$scratch"
    echo "Fetching pugixml $version's source package into $pugixml_source" >&2
    (cd "$scratch" && apt-get source -qq "pugixml=$version" >/dev/null)
    unpacked=$(find "$scratch" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
    [[ -f "$unpacked/src/pugixml.cpp" ]] || {
        echo "pugixml's source package has no src/pugixml.cpp" >&2
        exit 1
    }
    mv "$unpacked" "$pugixml_source"
    rm -rf "$scratch"
fi

if [[ $want_node_packages -eq 0 ]]; then
    exit 0
fi
# npm comes with the machine's Node.js here; Debian's own nodejs has it as a package of its own.
if ! command -v npm >/dev/null; then
    echo "Installing npm" >&2
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends npm
fi
echo "Installing the browser tests' node packages into $browser_tests/node_modules" >&2
# puppeteer-core drives the system's chromium and downloads none; the variable keeps any package
# from fetching a browser all the same. --prefer-offline takes what npm's cache holds.
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$browser_tests" --prefer-offline --no-audit --no-fund \
    --loglevel=error
