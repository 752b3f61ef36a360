# Shared by tools/test and tools/demo: a virtual display with a light window manager and
# a Wine prefix of our own, all started here and stopped by process id.
# shellcheck shell=bash

zv_pids=()
zv_groups=()

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
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
    openbox --sm-disable >/dev/null 2>&1 &
    zv_pids+=($!)
    sleep 0.3
}

# A fresh prefix under $1, initialised once, with one Wine server kept alive throughout.
zv_start_wine() {
    export WINEPREFIX="$1"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        # Wine draws no frame of its own on undecorated windows; keep the window manager's off too.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
        # Wine's own TrueType fonts (Tahoma, its generic sans-serif) are only found in the
        # prefix's Fonts folder; without them GDI+ can make no font at all.
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    wineserver -p >/dev/null 2>&1
    zv_wineserver_started=1
    # One idle Wine process keeps Wine's own services up between test programs; otherwise each
    # program starts them anew and its output pipe stays open until they time out.
    setsid bash -c 'sleep 86400 | exec /usr/lib/wine/wine64 cmd.exe >/dev/null 2>&1' &
    zv_groups+=($!)
    /usr/lib/wine/wine64 cmd.exe /c exit >/dev/null 2>&1 || true
}

zv_stop_all() {
    if [ -n "${zv_wineserver_started:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
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
    exe=$(winepath -w "$1" | sed 's/\\/\\\\/g')
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
    wine reg import "$(winepath -w "$reg")" >/dev/null 2>&1
    rm -f "$reg"
}
