#!/bin/sh
# Runs the tray icon's shell test under Wine and clicks for it: for every
# "CLICK <button> <repeat> <rrggbb>" line the program prints, the icon of that
# colour is found on the X screen and clicked there with xdotool.
# Usage: NotifyIconShellTest.sh <emulator> <program>
set -u
emulator=$1
program=$2
log=$(mktemp)
shot=$(mktemp --suffix=.png)
trap 'rm -f "$log" "$shot"' EXIT

"$emulator" "$program" >"$log" 2>&1 &
pid=$!
answered=0
while kill -0 "$pid" 2>/dev/null; do
    asked=$(grep -c '^CLICK ' "$log")
    if [ "$asked" -gt "$answered" ]; then
        answered=$((answered + 1))
        # shellcheck disable=SC2046
        set -- $(grep '^CLICK ' "$log" | sed -n "${answered}p")
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
            echo "NotifyIconShellTest.sh: no icon of colour #$colour on screen (box '$box')" >&2
        fi
    fi
    sleep 0.1
done
wait "$pid"
status=$?
cat "$log"
exit $status
