#!/usr/bin/env bash
# Takes screenshots of what the user sees, into build/screenshots/, so a
# person can look at them. Each block below is one subject; add new blocks at
# the end. Uses the release build in build/release (set PELLWERK_BUILD to use
# another build folder).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/packages.sh"
ensure_packages "${RUNTIME_PACKAGES[@]}" xvfb xauth imagemagick
setup_ccache

BUILD="${PELLWERK_BUILD:-$ROOT/build/release}"
OUT="$ROOT/build/screenshots"
mkdir -p "$OUT"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLWERK_TESTS=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target pellwerk pellwerk_help_screenshots

# A fresh HOME for one run of the program: a first start, and nothing of the
# user's own data read or written.
fresh_home() {
  local h
  h="$(mktemp -d)"
  mkdir -p "$h/.local/share" "$h/.config"
  echo "$h"
}

# Runs the program on a virtual screen, waits, and photographs the screen.
# Usage: screenshot_program <home> <out.png> [seconds]
screenshot_program() {
  local home="$1" out="$2" wait="${3:-4}"
  HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
      "$0" & pid=$!
      sleep "$1"
      import -window root "$2"
      kill "$pid"; wait "$pid" 2>/dev/null || true' \
    "$BUILD/app/pellwerk" "$wait" "$out"
  echo "$out"
}

# --- Main window at the first start ------------------------------------------
HOME_MAIN="$(fresh_home)"
screenshot_program "$HOME_MAIN" "$OUT/main_window_first_start.png"
rm -rf "$HOME_MAIN"

# --- Help window, every page -------------------------------------------------
QT_QPA_PLATFORM=offscreen "$BUILD/help/screenshots/pellwerk_help_screenshots" "$OUT"

# --- Properties panel: the label alone, then a text, picture, rectangle and line selected ---
# Each run opens a label of one element (remembered as the last label in the
# settings), clicks the middle of the canvas, where the element lies, and cuts
# the properties panel out of the screen; props_text_window.png is the whole
# window with the text element selected.
ensure_packages xdotool
props_label() {  # <home> <name> <element objects>
  local dir="$1/.local/share/MIRVO Pellwerk"
  mkdir -p "$dir/Vorlagen"
  local file="$dir/Vorlagen/$2.pellwerk"
  printf '{"format":"MirvoPellwerk","version":1,"name":"%s","lengthMm":30,"landscape":false,"bgPreset":3,"bgMode":1,"bgDither":true,"bgLighten":0,"elements":[%s]}' \
    "$2" "$3" >"$file"
  printf '[Editor]\nLetzteVorlage=%s\n' "$file" >"$dir/einstellungen.ini"
}
props_element() {  # <kind> <x> <y> <w> <h> [extra members]
  printf '{"kind":%s,"x":%s,"y":%s,"w":%s,"h":%s,"text":"Apfel\\r\\n1,99 \\u20AC","font":"Liberation Sans","size":48,"bold":true,"align":1,"lineWidth":4%s}' \
    "$1" "$2" "$3" "$4" "$5" "${6:-}"
}
props_screenshot() {  # <home> <name> <click: 0|1>
  local home="$1" name="$2" click="$3"
  HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
      "$0" & pid=$!
      sleep 4
      eval "$(xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" getwindowgeometry --shell | tail -n 6)"
      # The canvas lies between the templates panel (244) and the properties
      # panel (310), under the toolbar (65) and above the status line.
      if [ "$1" = 1 ]; then
        xdotool mousemove $((X + 244 + (WIDTH - 554) / 2)) $((Y + 65 + (HEIGHT - 90) / 2)) click 1
        sleep 1
      fi
      import -window root "$2/props_$3_screen.png"
      convert "$2/props_$3_screen.png" -crop "310x$((HEIGHT - 65))+$((X + WIDTH - 310))+$((Y + 65))" +repage "$2/props_$3.png"
      convert "$2/props_$3_screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2/props_$3_window.png"
      rm "$2/props_$3_screen.png"
      kill "$pid"; wait "$pid" 2>/dev/null || true' \
    "$BUILD/app/pellwerk" "$click" "$OUT" "$name"
  case "$name" in text | code_*) ;; *) rm -f "$OUT/props_${name}_window.png" ;; esac
  echo "$OUT/props_$name.png"
}
PROPS_PICTURE="$(convert -size 96x64 gradient:white-black png:- | base64 -w0)"
for props_case in \
  "label|" \
  "text|$(props_element 0 8 8 368 224)" \
  "picture|$(props_element 1 96 40 192 160 ",\"image\":\"$PROPS_PICTURE\"")" \
  "rectangle|$(props_element 2 40 40 304 160)" \
  "line|$(props_element 4 8 112 368 16)"; do
  HOME_PROPS="$(fresh_home)"
  props_label "$HOME_PROPS" "Panel ${props_case%%|*}" "${props_case#*|}"
  props_screenshot "$HOME_PROPS" "${props_case%%|*}" "$([ -n "${props_case#*|}" ] && echo 1 || echo 0)"
  rm -rf "$HOME_PROPS"
done

# --- Dragging and resizing on the canvas, at 100 % and 400 % ----------------
# A label with a small rectangle near the top left is opened at the given
# zoom; xdotool presses on the rectangle, drags it, and then drags its
# bottom-right handle. Each photo is taken while the button is still held.
# Usage: screenshot_drag <zoom percent> <pixels to drag>
ensure_packages xdotool
screenshot_drag() {
  local zoom="$1" step="$2" home
  home="$(fresh_home)"
  local data="$home/.local/share/MIRVO Pellwerk"
  mkdir -p "$data/Vorlagen"
  printf '%s' '{"format":"MirvoPellwerk","version":1,"name":"Ziehen","lengthMm":30,"landscape":false,"bgPreset":0,"elements":[{"kind":0,"x":8,"y":150,"w":368,"h":64,"text":"Ziehen & Ziehen","size":40,"bold":true,"align":1},{"kind":2,"x":16,"y":16,"w":40,"h":24,"lineWidth":3},{"kind":3,"x":240,"y":24,"w":100,"h":100,"lineWidth":4}]}' \
    > "$data/Vorlagen/Ziehen.pellwerk"
  printf '[Editor]\r\nZoomProzent=%s\r\nLetzteVorlage=%s\r\n' "$zoom" "$data/Vorlagen/Ziehen.pellwerk" > "$data/einstellungen.ini"
  HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
      set -e
      prog="$1" zoom="$2" step="$3" out="$4" tmp="$5"
      "$prog" & pid=$!
      sleep 4
      import -window root "$tmp/start.png"
      # The paper is the only white in the canvas viewport; its top-left
      # pixel is design dot (0, 0). The scroll bars are left out of the
      # search; the window is centred on the screen.
      read -r wx wy < <(xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" getwindowgeometry --shell | awk -F= "/^X=/{x=\$2} /^Y=/{y=\$2} END{print x, y}")
      vx=$((wx + 244)); vy=$((wy + 66))
      geo="$(convert "$tmp/start.png" -crop 820x680+$vx+$vy +repage -fill black +opaque "rgb(255,255,255)" -format "%@" info:)"
      ox=$((vx + $(echo "$geo" | sed -E "s/.*\+([0-9]+)\+([0-9]+)$/\1/")))
      oy=$((vy + $(echo "$geo" | sed -E "s/.*\+([0-9]+)\+([0-9]+)$/\2/")))
      dot() { echo $((ox + $1 * zoom / 100)) $((oy + $2 * zoom / 100)); }
      # Move: press inside the rectangle (design 30, 28), drag right and down.
      read -r px py < <(dot 30 28)
      xdotool mousemove $px $py mousedown 1
      for i in 1 2 3 4; do xdotool mousemove $((px + step * i / 4)) $((py + step * i / 8)); sleep 0.1; done
      sleep 0.5; import -window root "$out-drag.png"
      xdotool mouseup 1; sleep 0.3
      # Resize: the bottom-right handle of the moved rectangle, dragged on.
      # Where the rectangle went: step/zoom dots right, half that down (both
      # multiples of 4 dots for the steps used here, so no rounding is involved).
      read -r hx hy < <(dot $(( (16 + step * 100 / zoom + 2) / 4 * 4 + 40 )) $(( (16 + step * 50 / zoom + 2) / 4 * 4 + 24 )))
      xdotool mousemove $hx $hy mousedown 1
      for i in 1 2 3 4; do xdotool mousemove $((hx + step * i / 4)) $((hy + step * i / 4)); sleep 0.1; done
      sleep 0.5; import -window root "$out-resize.png"
      xdotool mouseup 1; sleep 0.3
      kill "$pid"; wait "$pid" 2>/dev/null || true' \
    _ "$BUILD/app/pellwerk" "$zoom" "$step" "$OUT/canvas_${zoom}" "$home"
  echo "$OUT/canvas_${zoom}-drag.png $OUT/canvas_${zoom}-resize.png"
  rm -rf "$home"
}
screenshot_drag 100 40
screenshot_drag 400 96

# --- Printer setup dialog with two simulated printers found ------------------
cmake --build "$BUILD" -j2 --target pellwerk_printing_screenshots
QT_QPA_PLATFORM=offscreen "$BUILD/printing/screenshots/pellwerk_printing_screenshots" "$OUT"

# --- Toolbar at the default size, its overflow menu open -----------------------
# At 1400 × 860 the left part of the toolbar cannot hold every command; the
# "»" button at its end offers the rest: its caption is the last one of the
# left part, which ends at least 600 pixels before the window's right edge.
HOME_TOOLBAR="$(fresh_home)"
HOME="$HOME_TOOLBAR" XDG_DATA_HOME="$HOME_TOOLBAR/.local/share" XDG_CONFIG_HOME="$HOME_TOOLBAR/.config" \
  xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    "$0" & pid=$!
    sleep 4
    eval "$(xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" getwindowgeometry --shell | tail -n 6)"
    import -window root "$1/toolbar_screen.png"
    # The rightmost ink in the caption row of the left part is the "»".
    left=$(convert "$1/toolbar_screen.png" -crop "$((WIDTH - 600))x10+${X}+$((Y + 37))" +repage \
           -fill white -fuzz 20% -opaque white -fill black +opaque white -trim -format "%[fx:page.x+page.width]" info:)
    xdotool mousemove $((X + left - 3)) $((Y + 30)) click 1
    sleep 1
    import -window root "$1/toolbar_screen.png"
    convert "$1/toolbar_screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1/main_window_toolbar_menu.png"
    rm "$1/toolbar_screen.png"
    kill "$pid"; wait "$pid" 2>/dev/null || true' \
  "$BUILD/app/pellwerk" "$OUT"
rm -rf "$HOME_TOOLBAR"
echo "$OUT/main_window_toolbar_menu.png"

# --- Code elements: the "Code" group with a QR code, a bar code, and data an EAN-13 cannot hold ---
code_element() {  # <x> <y> <w> <h> <type> <data>
  printf '{"kind":5,"x":%s,"y":%s,"w":%s,"h":%s,"text":"%s","codeType":"%s","codeEcc":"M","codeShowText":true,"codeModule":0}' \
    "$1" "$2" "$3" "$4" "$6" "$5"
}
for code_case in \
  "code_qr|$(code_element 112 40 160 160 qr 'https:\/\/mirvo.example\/fach\/{NR}')" \
  "code_ean13|$(code_element 8 60 368 120 ean13 400638133393)" \
  "code_invalid|$(code_element 8 60 368 120 ean13 4006381333X)"; do
  HOME_PROPS="$(fresh_home)"
  props_label "$HOME_PROPS" "Panel ${code_case%%|*}" "${code_case#*|}"
  props_screenshot "$HOME_PROPS" "${code_case%%|*}" 1
  rm -rf "$HOME_PROPS"
done

# --- Several elements: a multi-selection dragged with snap guides, then the context menu ---
# A label of three elements at 200 %; Ctrl+A selects them all, one of the two
# rectangles is clicked with Ctrl to leave the selection, and the other
# selected elements are dragged so that the moving text's left edge comes near
# the rectangle's left edge: the guide shows while the button is held. Then a
# right click on the selection opens the context menu.
HOME_MULTI="$(fresh_home)"
DATA_MULTI="$HOME_MULTI/.local/share/MIRVO Pellwerk"
mkdir -p "$DATA_MULTI/Vorlagen"
printf '%s' '{"format":"MirvoPellwerk","version":1,"name":"Mehrfachauswahl","lengthMm":30,"landscape":false,"bgPreset":0,"elements":[{"kind":2,"x":41,"y":20,"w":120,"h":50,"lineWidth":3},{"kind":0,"x":200,"y":100,"w":160,"h":48,"text":"Ausrichten","size":32,"bold":true,"align":0},{"kind":3,"x":240,"y":170,"w":60,"h":50,"lineWidth":3}]}' \
  > "$DATA_MULTI/Vorlagen/Mehrfachauswahl.pellwerk"
printf '[Editor]\r\nZoomProzent=200\r\nLetzteVorlage=%s\r\n' "$DATA_MULTI/Vorlagen/Mehrfachauswahl.pellwerk" > "$DATA_MULTI/einstellungen.ini"
HOME="$HOME_MULTI" XDG_DATA_HOME="$HOME_MULTI/.local/share" XDG_CONFIG_HOME="$HOME_MULTI/.config" \
  xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    set -e
    prog="$1" out="$2" tmp="$3"
    "$prog" & pid=$!
    sleep 5
    import -window root "$tmp/start.png"
    eval "$(xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" getwindowgeometry --shell | tail -n 6)"
    vx=$((X + 244)); vy=$((Y + 66))
    geo="$(convert "$tmp/start.png" -crop 820x680+$vx+$vy +repage -fill black +opaque "rgb(255,255,255)" -format "%@" info:)"
    ox=$((vx + $(echo "$geo" | sed -E "s/.*\+([0-9]+)\+([0-9]+)$/\1/")))
    oy=$((vy + $(echo "$geo" | sed -E "s/.*\+([0-9]+)\+([0-9]+)$/\2/")))
    dot() { echo $((ox + $1 * 2)) $((oy + $2 * 2)); }
    read -r ex ey < <(dot 270 195)
    xdotool mousemove $ex $ey click 1; sleep 0.3
    xdotool key ctrl+a; sleep 0.3
    read -r rx ry < <(dot 60 40)
    xdotool mousemove $rx $ry keydown ctrl click 1 keyup ctrl; sleep 0.3
    read -r px py < <(dot 220 120)
    xdotool mousemove $px $py mousedown 1
    for i in 1 2 3 4 5 6 7 8; do xdotool mousemove $((px - 314 * i / 8)) $((py - 20 * i / 8)); sleep 0.1; done
    sleep 0.5
    import -window root "$tmp/screen.png"
    convert "$tmp/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/multi_selection_guides.png"
    xdotool mouseup 1; sleep 0.5
    read -r cx cy < <(dot 72 112)
    xdotool mousemove $cx $cy click 3; sleep 1
    import -window root "$tmp/screen.png"
    convert "$tmp/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/multi_selection_menu.png"
    kill "$pid"; wait "$pid" 2>/dev/null || true' \
  _ "$BUILD/app/pellwerk" "$OUT" "$HOME_MULTI"
rm -rf "$HOME_MULTI"
echo "$OUT/multi_selection_guides.png $OUT/multi_selection_menu.png"

# --- Templates panel: the search field, empty and with "pre" typed ----------
# The built-in templates of a first start; Ctrl+F puts the focus in the
# search, and the list keeps only the matching names, in their order. The
# panel (244 pixels wide, under the toolbar) is cut out of the window.
HOME_SEARCH="$(fresh_home)"
HOME="$HOME_SEARCH" XDG_DATA_HOME="$HOME_SEARCH/.local/share" XDG_CONFIG_HOME="$HOME_SEARCH/.config" \
  xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    "$0" & pid=$!
    sleep 4
    eval "$(xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" getwindowgeometry --shell | tail -n 6)"
    import -window root "$1/search_screen.png"
    convert "$1/search_screen.png" -crop "244x$((HEIGHT - 65))+${X}+$((Y + 65))" +repage "$1/templates_panel.png"
    # Without a window manager the window gets the keyboard only when asked.
    xdotool search --sync --onlyvisible --name "MIRVO Pellwerk" windowfocus --sync
    xdotool key --clearmodifiers ctrl+f
    sleep 0.3
    xdotool type --delay 80 "pre"
    sleep 1
    import -window root "$1/search_screen.png"
    convert "$1/search_screen.png" -crop "244x$((HEIGHT - 65))+${X}+$((Y + 65))" +repage "$1/templates_panel_search.png"
    rm "$1/search_screen.png"
    kill "$pid"; wait "$pid" 2>/dev/null || true' \
  "$BUILD/app/pellwerk" "$OUT"
rm -rf "$HOME_SEARCH"
echo "$OUT/templates_panel.png $OUT/templates_panel_search.png"
