# Sourced by the scripts: the Wine environment of a build folder ($1).
# The prefix lives inside the build folder, never in the user's home.
lorvex_wine_env() {
    local build
    build=$(cd "$1" && pwd)
    export LORVEX_BUILD_DIR="$build"
    export WINEPREFIX="$build/wineprefix"
    export WINELOADER=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver
    # A program built against an installed copy names that copy's folder in
    # LORVEX_DLL_DIR, so that Wine loads the same file the program links to.
    export WINEDLLPATH="${LORVEX_DLL_DIR:-$build/lib}${WINEDLLPATH:+:$WINEDLLPATH}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No Mono or Gecko installers popping up in a fresh prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    export PATH="/usr/lib/wine:$PATH"
}

# Creates the prefix once and starts a server with Wine's helper processes,
# all with their output sent to a file: the helpers inherit the standard
# handles of whoever starts them, and a reader of a pipe (CTest) would
# otherwise wait for them to exit.
lorvex_wine_up() {
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.lorvex-ready" ]; then
            "$WINELOADER" wineboot -i >"$LORVEX_BUILD_DIR/wineboot.log" 2>&1 </dev/null
            # Let the X11 driver draw captions and frames: Xvfb has no window
            # manager, and screenshots should show what a user sees.
            "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$LORVEX_BUILD_DIR/wineboot.log" 2>&1 </dev/null
            "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$LORVEX_BUILD_DIR/wineboot.log" 2>&1 </dev/null
            "$WINESERVER" -w
            touch "$WINEPREFIX/.lorvex-ready"
        fi
        # Wine links the desktop to the user's home; programs of this build
        # that leave files on the desktop must leave them inside the prefix.
        for desktop in "$WINEPREFIX"/drive_c/users/*/Desktop; do
            if [ -L "$desktop" ]; then rm "$desktop" && mkdir "$desktop"; fi
        done
    ) 9>"$LORVEX_BUILD_DIR/.wineprefix.lock"
}

# What both README commands do first: install what is missing, build into
# $1/build, and get the build's Wine prefix and server ready. The server is
# stopped when the calling script exits.
lorvex_prepare() {
    local root=$1
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh" "$root/build"
    lorvex_wine_env "$root/build"
    lorvex_wine_up
    trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
}
