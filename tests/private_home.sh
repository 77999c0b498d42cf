# shellcheck shell=bash
# Sourced by the shell tests as `source private_home.sh DIR`: HOME and the XDG folders
# (config, data, cache, state, runtime) become fresh folders below DIR, which the test
# removes, unless they are private already; see tests/PrivateHome.h.
if [ "${LUMBREL_PRIVATE_HOME:-}" != "${HOME:-}" ] || [ -z "${HOME:-}" ]; then
    mkdir -p -m 700 "$1"/{home,config,data,cache,state,runtime}
    export HOME=$1/home XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data XDG_CACHE_HOME=$1/cache \
        XDG_STATE_HOME=$1/state XDG_RUNTIME_DIR=$1/runtime LUMBREL_PRIVATE_HOME=$1/home \
        PULSE_CLIENTCONFIG=$1/pulse-client.conf
    unset LUMBREL_CONTROL_SOCKET
    printf 'autospawn = no\n' >"$PULSE_CLIENTCONFIG"
fi
