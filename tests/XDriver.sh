#!/bin/sh
# Runs a test program under Wine and acts for it as a user's hands, with
# xdotool on the X screen. It answers each line the program prints:
#   CLICK <button> <repeat> <rrggbb>   click the 16 x 16 icon of that colour
#   CLICKAT <button> <repeat> <x> <y>  click at that screen position
#   KEY <keysym>                       press a key
# After carrying out request n it writes n to the file named in XDRIVER_ACK,
# so the program knows its request has been done. A request it cannot carry
# out stays unacknowledged: it says so in one line, and the script fails
# whatever the program's own result.
# Usage: XDriver.sh <emulator> <program> [args...]
set -u
emulator=$1
shift
log=$(mktemp)
shot=$(mktemp --suffix=.png)
XDRIVER_ACK=$(mktemp)
export XDRIVER_ACK
trap 'rm -f "$log" "$shot" "$XDRIVER_ACK"' EXIT

# Each of these carries out a request, or sets reason and fails.
try() {   # try COMMAND...: reason names the command and its first line of error
    out=$("$@" 2>&1) || { reason="$1 $2 failed: $(printf '%s\n' "$out" | head -n1)"; return 1; }
}

click_at() {   # click_at BUTTON REPEAT X Y
    try xdotool mousemove "$3" "$4" || return 1
    sleep 0.3
    try xdotool click --repeat "$2" --delay 80 "$1"
}

click_colour() {   # click_colour BUTTON REPEAT RRGGBB
    try import -window root "$shot" || return 1
    # Bounding box of the colour's pixels, as WxH+X+Y.
    box=$(convert "$shot" -fill black +opaque "#$3" -fill white -opaque "#$3" -format '%@' info: 2>/dev/null)
    w=${box%%x*}; rest=${box#*x}; h=${rest%%+*}; rest=${rest#*+}; x=${rest%%+*}; y=${rest#*+}
    if ! { [ -n "$w" ] && [ "$w" -gt 0 ] 2>/dev/null && [ "$w" -le 64 ] && [ "$h" -le 64 ]; }; then
        reason="no icon of colour #$3 on screen (box '$box')"
        return 1
    fi
    click_at "$1" "$2" $((x + w / 2)) $((y + h / 2))
}

carry_out() {
    case $1 in
    CLICK) click_colour "$2" "$3" "$4" ;;
    CLICKAT) click_at "$2" "$3" "$4" "$5" ;;
    KEY) try xdotool key "$2" ;;
    esac
}

"$emulator" "$@" >"$log" 2>&1 &
pid=$!
answered=0
failed=0
while kill -0 "$pid" 2>/dev/null; do
    asked=$(grep -c -E '^(CLICK|CLICKAT|KEY) ' "$log")
    while [ "$asked" -gt "$answered" ]; do
        answered=$((answered + 1))
        # shellcheck disable=SC2046
        set -- $(grep -E '^(CLICK|CLICKAT|KEY) ' "$log" | sed -n "${answered}p" | tr -d '\r')
        reason=""
        if carry_out "$@"; then
            sleep 0.2
            echo "$answered" >"$XDRIVER_ACK"
        else
            echo "XDriver.sh: request $answered ($*) not carried out: $reason" >&2
            failed=1
        fi
    done
    sleep 0.1
done
wait "$pid"
status=$?
cat "$log"
if [ "$status" = 0 ] && [ "$failed" = 1 ]; then status=1; fi
exit $status
