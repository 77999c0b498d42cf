# shellcheck shell=bash
# Sourced by the shell tests. lumbrel_private_home DIR points HOME, XDG_CONFIG_HOME,
# XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR at fresh folders
# below DIR (which the test removes), unless they are private already, so that nothing
# the test starts reads or writes the user's settings, history or control socket.
lumbrel_private_home() {
    local root=$1 folder
    if [ -n "${LUMBREL_PRIVATE_HOME:-}" ] && [ "$LUMBREL_PRIVATE_HOME" = "${HOME:-}" ]; then
        return 0
    fi
    for folder in home config data cache state runtime; do
        mkdir -p -m 700 "$root/$folder"
    done
    export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data \
        XDG_CACHE_HOME=$root/cache XDG_STATE_HOME=$root/state XDG_RUNTIME_DIR=$root/runtime \
        LUMBREL_PRIVATE_HOME=$root/home
    unset LUMBREL_CONTROL_SOCKET
    # libpulse would start the user's sound server for a program that finds none.
    printf 'autospawn = no\n' >"$root/pulse-client.conf"
    export PULSE_CLIENTCONFIG=$root/pulse-client.conf
}
