# Shared by tools/test, tools/demo and the benchmarks: where Wine is, a virtual display with a
# light window manager and a Wine prefix of our own, all started here and stopped by process id.
# shellcheck shell=bash

zv_pids=()
zv_groups=()

# Wine, found one way for every script and for CMake (cmake/wine.cmake asks this function):
# ZV_WINE is the 64-bit loader, which runs Wine's own programs too ("$ZV_WINE" wineboot),
# ZV_WINESERVER its server. Debian keeps both in /usr/lib/wine, off the PATH. A ZV_WINE set
# beforehand is kept.
zv_find_wine() {
    local candidate
    if [ -z "${ZV_WINE:-}" ]; then
        for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" \
            "$(command -v wine || true)"; do
            if [ -n "$candidate" ] && [ -x "$candidate" ]; then
                ZV_WINE=$candidate
                break
            fi
        done
    fi
    [ -n "${ZV_WINE:-}" ] || { echo "Wine is not installed (tools/deps installs it)" >&2; return 1; }
    ZV_WINESERVER=$(dirname "$ZV_WINE")/wineserver
    [ -x "$ZV_WINESERVER" ] || ZV_WINESERVER=$(command -v wineserver)
    export ZV_WINE ZV_WINESERVER
}

zv_free_display() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

# Starts Xvfb (and openbox, so destroyed windows are not waited for) unless $1 = "current"
# and a display is already set.
zv_start_display() {
    if [ "${1:-}" = current ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    n=$(zv_free_display) || { echo "no free X display number" >&2; return 1; }
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    zv_pids+=($!)
    export DISPLAY=":$n"
    local i answered=""
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && { answered=1; break; }
        sleep 0.05
    done
    if [ -z "$answered" ]; then
        echo "the virtual display :$n never answered (is Xvfb installed?)" >&2
        return 1
    fi
    openbox --sm-disable >/dev/null 2>&1 &
    zv_pids+=($!)
    sleep 0.3
}

# A fresh prefix under $1, initialised once, with one Wine server kept alive throughout.
zv_start_wine() {
    zv_find_wine || return 1
    export WINEPREFIX="$1"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$ZV_WINE" wineboot -i >/dev/null 2>&1
        "$ZV_WINESERVER" -w
        # Wine draws no frame of its own on undecorated windows; keep the window manager's off too.
        "$ZV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
            >/dev/null 2>&1
        "$ZV_WINESERVER" -w
        # Wine's own TrueType fonts (Tahoma, its generic sans-serif) are only found in the
        # prefix's Fonts folder; without them GDI+ can make no font at all.
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    "$ZV_WINESERVER" -p >/dev/null 2>&1
    zv_wineserver_started=1
    # One idle Wine process keeps Wine's own services up between test programs; otherwise each
    # program starts them anew and its output pipe stays open until they time out.
    setsid bash -c 'sleep 86400 | exec "$ZV_WINE" cmd.exe >/dev/null 2>&1' &
    zv_groups+=($!)
    "$ZV_WINE" cmd.exe /c exit >/dev/null 2>&1 || true
}

zv_stop_all() {
    if [ -n "${zv_wineserver_started:-}" ]; then
        "$ZV_WINESERVER" -k >/dev/null 2>&1 || true
    fi
    local p
    for p in "${zv_groups[@]}"; do
        kill -- "-$p" 2>/dev/null || true
    done
    zv_groups=()
    for p in "${zv_pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    for p in "${zv_pids[@]}"; do
        wait "$p" 2>/dev/null || true
    done
    zv_pids=()
}

# Registers the test build's browser double ($1, a Linux path) in the Wine prefix for "http",
# "https" and "mailto" and as the ".htm" open command, so every page or mail address a program
# opens is written down by the double and nothing is opened.
zv_register_browser_double() {
    local exe command reg
    exe=$("$ZV_WINE" winepath -w "$1" | sed 's/\\/\\\\/g')
    command="\"\\\"$exe\\\" \\\"%1\\\"\""
    reg=$(mktemp --suffix=.reg)
    {
        echo 'Windows Registry Editor Version 5.00'
        for scheme in http https mailto; do
            printf '\n[HKEY_CLASSES_ROOT\\%s\\shell\\open\\command]\n@=%s\n' "$scheme" "$command"
        done
        printf '\n[HKEY_CLASSES_ROOT\\.htm]\n@="ZvBrowserDouble"\n'
        printf '\n[HKEY_CLASSES_ROOT\\ZvBrowserDouble\\shell\\open\\command]\n@=%s\n' "$command"
    } > "$reg"
    "$ZV_WINE" reg import "$("$ZV_WINE" winepath -w "$reg")" >/dev/null 2>&1
    rm -f "$reg"
}
