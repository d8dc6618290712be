#!/bin/sh
# Runs a test program under Wine and acts for it as a user's hands, with
# xdotool on the X screen. It answers each line the program prints:
#   CLICK <button> <repeat> <rrggbb>   click the 16 x 16 icon of that colour
#   CLICKAT <button> <repeat> <x> <y>  click at that screen position
#   KEY <keysym>                       press a key
# After carrying out request n it writes n to the file named in XDRIVER_ACK,
# so the program knows its request has been done.
# Usage: XDriver.sh <emulator> <program> [args...]
set -u
emulator=$1
shift
log=$(mktemp)
shot=$(mktemp --suffix=.png)
XDRIVER_ACK=$(mktemp)
export XDRIVER_ACK
trap 'rm -f "$log" "$shot" "$XDRIVER_ACK"' EXIT

"$emulator" "$@" >"$log" 2>&1 &
pid=$!
answered=0
while kill -0 "$pid" 2>/dev/null; do
    asked=$(grep -c -E '^(CLICK|CLICKAT|KEY) ' "$log")
    while [ "$asked" -gt "$answered" ]; do
        answered=$((answered + 1))
        # shellcheck disable=SC2046
        set -- $(grep -E '^(CLICK|CLICKAT|KEY) ' "$log" | sed -n "${answered}p" | tr -d '\r')
        case $1 in
        CLICK)
            button=$2 repeat=$3 colour=$4
            import -window root "$shot"
            # Bounding box of the colour's pixels, as WxH+X+Y.
            box=$(convert "$shot" -fill black +opaque "#$colour" -fill white -opaque "#$colour" \
                  -format '%@' info: 2>/dev/null)
            w=${box%%x*}; rest=${box#*x}; h=${rest%%+*}; rest=${rest#*+}; x=${rest%%+*}; y=${rest#*+}
            if [ -n "$w" ] && [ "$w" -gt 0 ] 2>/dev/null && [ "$w" -le 64 ] && [ "$h" -le 64 ]; then
                xdotool mousemove $((x + w / 2)) $((y + h / 2))
                sleep 0.3
                xdotool click --repeat "$repeat" --delay 80 "$button"
            else
                echo "XDriver.sh: no icon of colour #$colour on screen (box '$box')" >&2
            fi
            ;;
        CLICKAT)
            xdotool mousemove "$4" "$5"
            sleep 0.3
            xdotool click --repeat "$3" --delay 80 "$2"
            ;;
        KEY)
            xdotool key "$2"
            ;;
        esac
        sleep 0.2
        echo "$answered" >"$XDRIVER_ACK"
    done
    sleep 0.1
done
wait "$pid"
status=$?
cat "$log"
exit $status
