#!/bin/sh
# Takes the README's screenshots under a private Xvfb display, with a fresh copy
# of the shipped data. Needs xvfb, imagemagick and xdotool.
set -eu
cd "$(dirname "$0")/.."
DISPLAY_NUMBER=${DISPLAY_NUMBER:-97}
OUT=docs/screenshots
DATA=$(mktemp -d)
cp data/colorchart.cci data/*.rgb data/set.hcs data/colorset.dat data/tintora.chm "$DATA"/
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null; rm -rf "$DATA"' EXIT
sleep 1
export DISPLAY=":$DISPLAY_NUMBER"
env -u QT_QPA_PLATFORMTHEME TINTORA_DATA_DIR="$DATA" ./build/tintora >/dev/null 2>&1 &
APP=$!
sleep 2
main=$(xdotool search --name "Tintora 3.7" | head -1)
shot() { # window-id file
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
# A palette colour chosen, and a darker saved scheme in the preview.
xdotool mousemove --window "$main" 146 80 click 1
sleep 0.3
xdotool mousemove --window "$main" 390 300 click 1
sleep 0.5
shot "$main" "$OUT/main-window.png"
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key alt+t
sleep 0.3
xdotool key c
sleep 1
conversion=$(xdotool search --name "Color Conversion" | head -1)
xdotool mousemove --window "$conversion" 94 33 click 1
sleep 0.5
shot "$conversion" "$OUT/conversion-window.png"
xdotool key Escape
sleep 0.3
# The contrast tool beside the main window, on the first saved scheme, with the
# preview panel and the figures as a reader with deuteranopia sees them.
xdotool mousemove --window "$main" 390 287 click 1
sleep 0.3
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key alt+v
sleep 0.3
xdotool key c
sleep 1
tool=$(xdotool search --name "Scheme Contrast and Color Vision" | head -1)
xdotool mousemove --window "$tool" 140 21 click 1
sleep 0.5
xdotool key Down Down Return
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
left=$X top=$Y bottom=$((Y + HEIGHT))
eval "$(xdotool getwindowgeometry --shell "$tool")"
right=$((X + WIDTH))
[ $((Y + HEIGHT)) -gt $bottom ] && bottom=$((Y + HEIGHT))
import -window root -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage \
    "$OUT/contrast-window.png"
kill $APP
echo "screenshots written to $OUT"
