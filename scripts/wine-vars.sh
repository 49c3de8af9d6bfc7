# Sourced with the Wine folder as $1: sets the environment of the build's private Wine.
KVMULTI_WINE_DIR=$(mkdir -p "$1" && cd "$1" && pwd)
export KVMULTI_WINE_DIR
export WINEPREFIX="$KVMULTI_WINE_DIR/prefix"
export HOME="$KVMULTI_WINE_DIR/home"   # a new prefix links Desktop and Documents into $HOME
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
if [ "${KVMULTI_USER_DISPLAY:-0}" != 1 ] && [ -f "$KVMULTI_WINE_DIR/display" ]; then
    DISPLAY=$(cat "$KVMULTI_WINE_DIR/display")
    export DISPLAY
fi
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
