#!/usr/bin/env bash
# Installs everything kvmulti needs on a Debian 12 machine, as root, without asking anything.
#
# - system packages (toolchains, Wine, Xvfb, header-only and native libraries, tools);
# - the libraries Debian does not ship for mingw-w64, built from Debian's own source packages
#   into a cache folder outside the source tree (libcurl with Schannel, pugixml);
# - the Windows 7-Zip archiver from the npm package 7zip-bin.
#
# Idempotent: every step checks a stamp or the installed state first, so a second run takes seconds.
# The cache folder is printed on the last line; the build scripts read it from KVMULTI_DEPS.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
DEPS="${KVMULTI_DEPS:-${HOME:-/root}/.cache/kvmulti-deps}"
MINGW_PREFIX="$DEPS/mingw"
SEVENZIP_BIN_VERSION="5.2.0"
CROSS=x86_64-w64-mingw32

log() { printf '[setup] %s\n' "$*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
    log "run me as root (apt-get install needs it)"
    exit 1
fi

PACKAGES=(
    build-essential cmake ninja-build pkg-config git ca-certificates dpkg-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine64 xvfb x11-utils imagemagick
    rapidjson-dev libstb-dev libgtest-dev libgmock-dev libbenchmark-dev libspdlog-dev
    libpugixml-dev libcurl4-openssl-dev libz-mingw-w64-dev
    7zip clang-14 libclang-rt-14-dev clang-format clang-tidy openssl
    nodejs npm
    fonts-noto-core fonts-nanum fonts-roboto-unhinted fonts-wqy-microhei
)

apt_updated=0
apt_update_once() {
    if [ "$apt_updated" -eq 0 ]; then
        log "apt-get update"
        apt-get update -qq
        apt_updated=1
    fi
}

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then continue; fi   # nodesource's nodejs carries npm
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        apt_update_once
        log "installing ${missing[*]}"
        apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
    fi
}

# Source packages come from the same mirrors and suites as the machine's binary packages.
enable_deb_src() {
    local list=/etc/apt/sources.list.d/kvmulti-deb-src.sources
    [ -s "$list" ] && return 0
    log "adding deb-src entries mirroring the Debian apt sources"
    : >"$list.tmp"
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && grep -q 'debian' "$f" || continue
        # deb822 stanzas: keep those of type deb, turned into deb-src
        awk 'BEGIN{RS="";ORS="\n\n"} /Types:[ \t]*deb([ \t\n]|$)/ && /debian/ {sub(/Types:[ \t]*deb/,"Types: deb-src"); print}' "$f" >>"$list.tmp"
    done
    if [ -f /etc/apt/sources.list ]; then
        grep -E '^deb[[:space:]]+[^[:space:]]*debian' /etc/apt/sources.list | sed -E 's/^deb /deb-src /' \
            >/etc/apt/sources.list.d/kvmulti-deb-src.list || true
    fi
    mv "$list.tmp" "$list"
    apt_updated=0
    apt_update_once
}

# Unpacks Debian's source package $1 into $DEPS/src and prints its folder.
fetch_source() {
    local pkg=$1 dir
    mkdir -p "$DEPS/src"
    dir=$(find "$DEPS/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | sort | tail -n 1)
    if [ -z "$dir" ]; then
        enable_deb_src
        log "fetching source package $pkg"
        (cd "$DEPS/src" && apt-get source -qq "$pkg" </dev/null >/dev/null)
        dir=$(find "$DEPS/src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | sort | tail -n 1)
    fi
    [ -n "$dir" ] || { log "source package $pkg did not unpack"; exit 1; }
    printf '%s\n' "$dir"
}

# libcurl for the Windows build: static, HTTP(S) through Schannel, no other protocols.
build_mingw_curl() {
    local stamp="$MINGW_PREFIX/.curl-stamp" src
    [ -f "$stamp" ] && return 0
    src=$(fetch_source curl)
    log "building libcurl for mingw-w64 from $(basename "$src")"
    mkdir -p "$src/lib/$CROSS"
    CFLAGS="-O2 -DCURL_DISABLE_LDAP -DCURL_DISABLE_FTP -DCURL_DISABLE_TELNET -DCURL_DISABLE_DICT -DCURL_DISABLE_TFTP \
        -DCURL_DISABLE_POP3 -DCURL_DISABLE_IMAP -DCURL_DISABLE_SMTP -DCURL_DISABLE_GOPHER -DCURL_DISABLE_RTSP \
        -DCURL_DISABLE_MQTT -DCURL_DISABLE_SMB" \
        make -C "$src/lib" -f Makefile.mk -j"$(nproc)" CROSSPREFIX="$CROSS-" CFG=-schannel-sspi-ipv6 TRIPLET="$CROSS" \
        libcurl.a >"$DEPS/curl-build.log" 2>&1 || { tail -n 30 "$DEPS/curl-build.log"; exit 1; }
    mkdir -p "$MINGW_PREFIX/lib" "$MINGW_PREFIX/include"
    cp "$src/lib/libcurl.a" "$MINGW_PREFIX/lib/"
    rm -rf "$MINGW_PREFIX/include/curl"
    cp -r "$src/include/curl" "$MINGW_PREFIX/include/"
    basename "$src" >"$stamp"
}

# pugixml for the Windows build: one source file, compiled into a static library.
build_mingw_pugixml() {
    local stamp="$MINGW_PREFIX/.pugixml-stamp" src obj
    [ -f "$stamp" ] && return 0
    src=$(fetch_source pugixml)
    log "building pugixml for mingw-w64 from $(basename "$src")"
    mkdir -p "$MINGW_PREFIX/lib" "$MINGW_PREFIX/include"
    obj=$(mktemp -d)
    "$CROSS-g++-posix" -O2 -std=c++17 -c "$src/src/pugixml.cpp" -o "$obj/pugixml.o"
    "$CROSS-ar" rcs "$MINGW_PREFIX/lib/libpugixml.a" "$obj/pugixml.o"
    rm -rf "$obj"
    cp "$src/src/pugixml.hpp" "$src/src/pugiconfig.hpp" "$MINGW_PREFIX/include/"
    basename "$src" >"$stamp"
}

# 7-Zip's Windows command-line archiver, shipped inside the npm package 7zip-bin.
install_7za() {
    local exe="$DEPS/npm/node_modules/7zip-bin/win/x64/7za.exe"
    [ -f "$exe" ] && return 0
    log "installing npm 7zip-bin@$SEVENZIP_BIN_VERSION"
    mkdir -p "$DEPS/npm"
    npm install --silent --no-audit --no-fund --prefix "$DEPS/npm" "7zip-bin@$SEVENZIP_BIN_VERSION" </dev/null >/dev/null
    [ -f "$exe" ] || { log "7za.exe missing after npm install"; exit 1; }
}

install_packages
mkdir -p "$DEPS"
build_mingw_curl
build_mingw_pugixml
install_7za
log "ready"
printf '%s\n' "$DEPS"
