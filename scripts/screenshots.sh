#!/bin/sh
# Takes the README's screenshots under a private Xvfb display, with a fresh copy
# of the shipped data and settings of its own. Needs xvfb, imagemagick and
# xdotool.
set -eu
cd "$(dirname "$0")/.."
DISPLAY_NUMBER=${DISPLAY_NUMBER:-97}
OUT=docs/screenshots
DATA=$(mktemp -d)
WORK=$(mktemp -d)
cp data/colorchart.cci data/*.rgb data/set.hcs data/colorset.dat data/tintora.chm "$DATA"/
cp tests/data/gimp/Tango.gpl "$WORK"/
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null; rm -rf "$DATA" "$WORK"' EXIT
sleep 1
export DISPLAY=":$DISPLAY_NUMBER"
# From the scratch folder, where the file dialogs open.
(cd "$WORK" && exec env -u QT_QPA_PLATFORMTHEME XDG_CONFIG_HOME="$WORK/config" \
    TINTORA_DATA_DIR="$DATA" "$OLDPWD/build/tintora" >/dev/null 2>&1) &
APP=$!
sleep 2
main=$(xdotool search --name "Tintora 3.7" | head -1)
shot() { # window-id file
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
area() { # geometry file
    import -window root -crop "$1" +repage "$2"
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

# Palette exchange: the File menu, a GIMP palette imported, the export dialog.
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key alt+f
sleep 0.5
area 490x200+0+0 "$OUT/file-menu.png"
xdotool key Escape
sleep 0.3
xdotool key alt+f Down Down Return
sleep 1
xdotool type --delay 20 "$WORK/Tango.gpl"
xdotool key Return
sleep 1
xdotool mousemove --window "$main" 146 80 click 1
sleep 0.5
shot "$main" "$OUT/imported-palette.png"
xdotool key alt+f Down Return
sleep 1
xdotool type --delay 20 "tango"
sleep 0.3
shot "$(xdotool getwindowfocus)" "$OUT/export-dialog.png"
xdotool key Return
sleep 1

# The screen picker over a detailed picture, averaging 5 x 5 pixels, the hot
# spot moved two device pixels to the right with the arrow key.
convert -seed 7 -size 1280x800 plasma:fractal -fill white -pointsize 22 \
    -annotate +846+399 'Colour' "$WORK/background.png"
# display sets the root window and then exits with 1.
display -window root "$WORK/background.png" || true
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key alt+t
sleep 0.3
xdotool key p
sleep 2
pick=$(xdotool search --name "Pick&Save Color" | head -1)
eval "$(xdotool getwindowgeometry --shell "$pick")"
PICK_X=$X
PICK_Y=$Y
xdotool mousemove $((PICK_X + 150)) $((PICK_Y + 108)) click 1
sleep 0.5
xdotool key Down Down Return
sleep 0.3
xdotool mousemove $((PICK_X + 430)) $((PICK_Y + 70))
sleep 0.3
xdotool key Right Right
sleep 0.5
area "560x230+$((PICK_X - 20))+$((PICK_Y - 60))" "$OUT/picker-loupe.png"
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
# The colour generator on its ramp page, around a violet typed in.
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key alt+t
sleep 0.3
xdotool key g
sleep 1
generator=$(xdotool search --name "Color Generator" | head -1)
xdotool windowfocus "$generator" 2>/dev/null || true
xdotool key alt+b ctrl+a
xdotool type --delay 20 "#7C3AED"
xdotool key Return alt+r
sleep 0.5
shot "$generator" "$OUT/generator-window.png"
kill $APP
echo "screenshots written to $OUT"
