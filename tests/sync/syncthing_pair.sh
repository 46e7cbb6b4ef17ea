# Two real Syncthing instances on one machine, loopback only, as two computers
# "A" and "B" sharing one folder "diary" (sendreceive). No discovery, relays,
# NAT, usage or crash reporting, or upgrades. Sourced by the sync tests:
#   ST_BASE=DIR [ST_SEED_A=FILE] st_start   -> both up and in sync
#   st_wait_synced, st_api A|B METHOD /rest/path, st_stop (by PID)
# Layout: ST_BASE/{A,B}/home (config, keys, database), ST_BASE/{A,B}/diary
# (the shared folder), ST_BASE/{A,B}/syncthing.log. The ports are free ones
# the kernel hands out, so runs side by side do not meet.
ST_TIMEOUT=${ST_TIMEOUT:-60}
declare -A ST_SYNC ST_GUI ST_ID
# Four free loopback ports: sync and REST for each side.
st_pick_ports() {
    local ports
    ports=($(python3 -c 'import socket
s = [socket.socket() for _ in range(4)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])'))
    ST_SYNC=([A]=${ports[0]} [B]=${ports[1]}) ST_GUI=([A]=${ports[2]} [B]=${ports[3]})
}

st_api() { # st_api A|B METHOD /rest/path  -> JSON on stdout (API key read from a file)
    curl -sf -m 5 -X "$2" -H @"$ST_BASE/$1/home/apikey.hdr" "http://127.0.0.1:${ST_GUI[$1]}$3"
}

st_write_config() { # $1 = this side, $2 = other side
    local me=$1 peer=$2 key
    key=$(head -c 24 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 32)
    ( umask 077; printf 'X-API-Key: %s\n' "$key" > "$ST_BASE/$me/home/apikey.hdr" )
    ( umask 077; cat > "$ST_BASE/$me/home/config.xml" <<EOF
<configuration version="36">
    <folder id="diary" label="diary" path="$ST_BASE/$me/diary" type="sendreceive" rescanIntervalS="10" fsWatcherEnabled="true" fsWatcherDelayS="1" ignorePerms="false" autoNormalize="true">
        <filesystemType>basic</filesystemType>
        <device id="${ST_ID[A]}" introducedBy=""><encryptionPassword></encryptionPassword></device>
        <device id="${ST_ID[B]}" introducedBy=""><encryptionPassword></encryptionPassword></device>
        <minDiskFree unit="%">0</minDiskFree>
        <versioning><cleanupIntervalS>3600</cleanupIntervalS><fsPath></fsPath><fsType>basic</fsType></versioning>
        <copiers>0</copiers>
        <pullerMaxPendingKiB>0</pullerMaxPendingKiB>
        <hashers>0</hashers>
        <order>random</order>
        <ignoreDelete>false</ignoreDelete>
        <scanProgressIntervalS>0</scanProgressIntervalS>
        <pullerPauseS>0</pullerPauseS>
        <maxConflicts>10</maxConflicts>
        <disableSparseFiles>false</disableSparseFiles>
        <disableTempIndexes>false</disableTempIndexes>
        <paused>false</paused>
        <weakHashThresholdPct>25</weakHashThresholdPct>
        <markerName>.stfolder</markerName>
        <copyOwnershipFromParent>false</copyOwnershipFromParent>
        <modTimeWindowS>0</modTimeWindowS>
        <maxConcurrentWrites>2</maxConcurrentWrites>
        <disableFsync>false</disableFsync>
        <blockPullOrder>standard</blockPullOrder>
        <copyRangeMethod>standard</copyRangeMethod>
        <caseSensitiveFS>false</caseSensitiveFS>
        <junctionsAsDirs>false</junctionsAsDirs>
    </folder>
    <device id="${ST_ID[$me]}" name="$me" compression="metadata" introducer="false" skipIntroductionRemovals="false" introducedBy="">
        <address>dynamic</address>
        <paused>false</paused>
        <autoAcceptFolders>false</autoAcceptFolders>
    </device>
    <device id="${ST_ID[$peer]}" name="$peer" compression="metadata" introducer="false" skipIntroductionRemovals="false" introducedBy="">
        <address>tcp://127.0.0.1:${ST_SYNC[$peer]}</address>
        <paused>false</paused>
        <autoAcceptFolders>false</autoAcceptFolders>
    </device>
    <gui enabled="true" tls="false" debugging="false">
        <address>127.0.0.1:${ST_GUI[$me]}</address>
        <apikey>$key</apikey>
        <theme>default</theme>
    </gui>
    <options>
        <listenAddress>tcp://127.0.0.1:${ST_SYNC[$me]}</listenAddress>
        <globalAnnounceServer>default</globalAnnounceServer>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <urAccepted>-1</urAccepted>
        <urSeen>3</urSeen>
        <startBrowser>false</startBrowser>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <crashReportingEnabled>false</crashReportingEnabled>
        <reconnectionIntervalS>2</reconnectionIntervalS>
        <restartOnWakeup>false</restartOnWakeup>
        <setLowPriority>false</setLowPriority>
        <minHomeDiskFree unit="%">0</minHomeDiskFree>
        <keepTemporariesH>24</keepTemporariesH>
        <progressUpdateIntervalS>5</progressUpdateIntervalS>
        <tempIndexMinBlocks>10</tempIndexMinBlocks>
        <maxFolderConcurrency>0</maxFolderConcurrency>
        <databaseTuning>auto</databaseTuning>
    </options>
</configuration>
EOF
    )
}

st_q() { # st_q A|B /rest/path JQ-FILTER [jq args...] -> true only if the API answered and the filter is true
    local s=$1 path=$2 out; shift 2
    out=$(st_api "$s" GET "$path" 2>/dev/null) && [ -n "$out" ] && jq -e "$@" <<<"$out" >/dev/null 2>&1
}

st_wait_synced() { # wait until both connected, folder idle on both, nothing needed, completion 100
    local deadline=$((SECONDS + ST_TIMEOUT)) s p ok
    while :; do
        ok=1
        for s in A B; do
            [ "$s" = A ] && p=B || p=A
            st_q $s /rest/system/connections '.connections[$d].connected == true' --arg d "${ST_ID[$p]}" || ok=0
            st_q $s '/rest/db/status?folder=diary' '.state == "idle" and .needTotalItems == 0 and .errors == 0
                and .pullErrors == 0 and .globalFiles == .localFiles and .globalBytes == .localBytes' || ok=0
            st_q $s "/rest/db/completion?folder=diary&device=${ST_ID[$p]}" '.completion == 100 and .needItems == 0' || ok=0
        done
        # both sides agree on the global and local totals (guards against a not-yet-exchanged index)
        if [ $ok = 1 ]; then
            local a b f='[.globalFiles,.globalBytes,.localFiles,.localBytes,.globalDeleted]|tostring'
            a=$(st_api A GET '/rest/db/status?folder=diary' | jq -r "$f") || ok=0
            b=$(st_api B GET '/rest/db/status?folder=diary' | jq -r "$f") || ok=0
            [ -n "$a" ] && [ "$a" = "$b" ] || ok=0
        fi
        [ $ok = 1 ] && return 0
        for s in A B; do   # fail fast if an instance died (e.g. REST port already taken)
            [ -f "$ST_BASE/$s/pid" ] && ! st_alive "$(cat "$ST_BASE/$s/pid")" && {
                echo "syncthing pair: $s exited; see $ST_BASE/$s/syncthing.log" >&2; return 1; }
        done
        [ $SECONDS -ge $deadline ] && { echo "syncthing pair: not in sync after ${ST_TIMEOUT}s" >&2; return 1; }
        sleep 0.25
    done
}

st_load_ids() { local s; for s in A B; do ST_ID[$s]=$(syncthing serve --home="$ST_BASE/$s/home" --device-id); done; }

st_start() {
    local s
    st_pick_ports
    for s in A B; do
        mkdir -p "$ST_BASE/$s/home" "$ST_BASE/$s/diary/.stfolder"
        [ -n "${ST_SEED_A:-}" ] && [ $s = A ] && cp -a "$ST_SEED_A" "$ST_BASE/A/diary/"   # optional: pre-seed A
        syncthing generate --home="$ST_BASE/$s/home" --no-default-folder --skip-port-probing >/dev/null 2>&1 || return 1
    done
    st_load_ids
    st_write_config A B
    st_write_config B A
    # B first; A only once B answers on REST (B is listening by then). If both start at the same
    # instant they dial each other simultaneously and 1.19 can stall ~20 s in the Hello exchange.
    for s in B A; do
        # --no-restart: the monitor process ($!) does not restart its syncthing child; SIGTERM to $!
        # is forwarded to the child and both exit.
        HOME="$ST_BASE/$s/home" STNOUPGRADE=1 STHASHING=${STHASHING:-minio} \
            syncthing serve --home="$ST_BASE/$s/home" --no-browser --no-restart --no-upgrade \
            --logflags=3 >"$ST_BASE/$s/syncthing.log" 2>&1 </dev/null &
        echo $! >"$ST_BASE/$s/pid"
        if [ $s = B ] && [ "${ST_STAGGER:-1}" = 1 ]; then
            local i; for i in $(seq 1 200); do st_api B GET /rest/system/ping >/dev/null 2>&1 && break; sleep 0.05; done
        fi
    done
    st_wait_synced || { st_stop; return 1; }
}

st_alive() { # running and not a zombie
    local st; st=$(ps -o stat= -p "$1" 2>/dev/null) && [ -n "$st" ] && [ "${st:0:1}" != Z ]
}

st_stop() { # SIGTERM to each monitor PID (it forwards to its syncthing child), wait for all to exit
    local s pid all="" k i alive
    for s in A B; do
        [ -f "$ST_BASE/$s/pid" ] || continue
        pid=$(cat "$ST_BASE/$s/pid")
        all="$all $pid $(pgrep -P "$pid" 2>/dev/null | tr '\n' ' ')"
        st_alive "$pid" && kill -TERM "$pid" 2>/dev/null
        rm -f "$ST_BASE/$s/pid"
    done
    for i in $(seq 1 100); do
        alive=0; for k in $all; do st_alive "$k" && alive=1; done
        [ $alive = 0 ] && return 0
        sleep 0.1
    done
    for k in $all; do st_alive "$k" && { kill -KILL "$k"; echo "syncthing pair: pid $k killed" >&2; }; done
    return 1
}

