#!/usr/bin/env bash
# A local HTTPS server with a self-signed certificate for the download clients' tests (a CTest fixture):
# OpenSSL's s_server in its file-serving mode on 127.0.0.1 and a free port.
#
# The served file is a whole HTTP response with a Content-Length (s_server -HTTP): Wine's Schannel reports
# the server's TLS close as a failed read, so a body that ends only with the connection never completes
# under Wine, for libcurl and WinINet alike.
#
#   https-server.sh start DIR    key, certificate and /hello.txt made in DIR (its body in DIR/www/hello.body);
#                                port in DIR/port
#   https-server.sh stop DIR     ends the server started for DIR, by its recorded process id
set -euo pipefail
action=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)

port_is_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

start() {
    mkdir -p "$dir/www"
    openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=localhost -days 2 \
        -keyout "$dir/key.pem" -out "$dir/cert.pem" >/dev/null 2>&1
    printf 'hello over a self-signed channel %s\n' "$(date +%s%N)" >"$dir/www/hello.body"
    printf 'HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: %d\r\nConnection: close\r\n\r\n' \
        "$(stat -c %s "$dir/www/hello.body")" >"$dir/www/hello.txt"
    cat "$dir/www/hello.body" >>"$dir/www/hello.txt"
    local port tries
    for tries in $(seq 40); do
        port=$((20000 + RANDOM % 20000))
        port_is_free "$port" || continue
        (cd "$dir/www" && exec openssl s_server -accept "127.0.0.1:$port" -cert "$dir/cert.pem" \
            -key "$dir/key.pem" -HTTP -quiet </dev/null >"$dir/server.log" 2>&1 &
            echo $! >"$dir/server.pid")
        for _ in $(seq 50); do
            if ! port_is_free "$port"; then
                echo "$port" >"$dir/port"
                echo "https test server on 127.0.0.1:$port (pid $(cat "$dir/server.pid"))"
                return 0
            fi
            kill -0 "$(cat "$dir/server.pid")" 2>/dev/null || break
            sleep 0.1
        done
        stop
    done
    echo "https-server: could not start openssl s_server" >&2
    return 1
}

stop() {
    if [ -f "$dir/server.pid" ]; then
        kill "$(cat "$dir/server.pid")" 2>/dev/null || true
        rm -f "$dir/server.pid"
    fi
    rm -f "$dir/port"
}

case "$action" in
start) start ;;
stop) stop; echo "https test server stopped" ;;
*) echo "usage: https-server.sh start|stop DIR" >&2; exit 2 ;;
esac
