#!/usr/bin/env bash
# Drives the desktop program under Xvfb and openbox against morvek-sim, the way an operator does:
# a first start without morvek.ini, connecting, a refused address, a fetch by number, a fetch
# that loses its documents, the About box, the archive window over an archive filled from the
# simulator's journals, pages of its PDF export, closing, and a second start in Ukrainian with a
# fetch. Takes a PNG of the screen at each
# step and checks window sizes, placement, titles and field texts on the way. Every check runs;
# each failed one prints a line, and the script exits 1 at the end when any failed.
#
#   scripts/screenshots.sh
#
# Build folder: build/ (or $MORVEK_BUILD; morvek and morvek-sim are built when missing).
# Pictures: build/screenshots/ (or $MORVEK_SCREENSHOTS).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${MORVEK_BUILD:-build}"
shots="${MORVEK_SCREENSHOTS:-build/screenshots}"
jobs="${MORVEK_JOBS:-$(nproc)}"

# Window titles and texts come from the tools as UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY

screen_w=1280
screen_h=800
register_host=127.0.80.1
register_port=34950
silent_host=127.0.80.99 # nothing listens there
fiscal=3000567412
main_title="Соединение с РРО вер. 1.30 от 29.01.2016"
main_title_uk="З'єднання з РРО вер. 1.30 від 29.01.2016"
probe_title="Тестирование USB устройств: Шаг 1"
retrieval_title="Форма запроса и отображения данных"
retrieval_title_uk="Форма запиту та відображення даних"
notice_title="ВНИМАНИЕ!!!!"
box_title="morvek"

# Where the controls sit. Main window: its client area below the menu bar (fixed geometry).
main_ip=(178 42)
main_identity=(178 76)
main_connect=(178 129)
main_close=(481 218)
main_indicator=(56 128)
client_w=541
client_h=280
# Retrieval window as it opens (Qt layouts): the by-number group from the top-left corner of its
# client area, "Закрыть" from the bottom-right corner.
retrieval_type=(211 50)
retrieval_first=(211 106)
retrieval_last=(211 134)
retrieval_fetch=(62 162)
retrieval_close_from_corner=(52 23)
retrieval_list=(320 20 600 500) # a part of the document list: x y w h
# Archive window as it opens (Qt layouts): the two number fields of its filter row.
archive_number_from=(703 21)
archive_number_to=(789 21)
# About box: "Закрыть" centred, this far above the bottom of the client area.
about_close_from_bottom=23

# ---------------------------------------------------------------------------------------------
# Reporting

failures=()
step_no=0

pass() { printf '  ok    %s\n' "$*"; }
fail() {
  printf '  FAIL  %s\n' "$*"
  failures+=("$*")
}
# check DESCRIPTION COMMAND...: runs the command; its failure is a failed check.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
step() {
  step_no=$((step_no + 1))
  printf '\n== %d. %s\n' "$step_no" "$*"
}

# shot NAME: the whole screen as $shots/NN-NAME.png.
shot() {
  local file
  file="$shots/$(printf '%02d' "$step_no")-$1.png"
  if x xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$file" 2>/dev/null; then
    printf '  shot  %s\n' "$file"
  else
    fail "screenshot $file"
  fi
}

# drawn WIN: the top of the window's own picture is not all black. Read to the end: with
# pipefail, an awk that left early would fail the pipe of a wide window by SIGPIPE.
drawn() {
  window_gray "$1" 0 0 "$(geometry "$1" | cut -d' ' -f3)" 20 | awk '$1 > 0 {found = 1} END {exit !found}'
}

# shot_box WIN NAME: a message box alone, as the program drew it, beside the screen's picture.
shot_box() {
  local file
  wait_for 3 drawn "$1" || printf '  note  the box has drawn nothing in 3 s\n'
  file="$shots/$(printf '%02d' "$step_no")-$2-box-alone.png"
  if x xwd -id "$1" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$file" 2>/dev/null; then
    printf '  shot  %s\n' "$file"
  else
    fail "screenshot $file"
  fi
}

# ---------------------------------------------------------------------------------------------
# Processes: everything started here is stopped at the end, also on failure.

scratch=""
pids=()

# running PID and stop PID.
. "$root/scripts/processes.sh"

cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do stop "${pids[i]}"; done
  if [ -n "$scratch" ]; then rm -rf "$scratch"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

die() {
  echo "screenshots: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: polls every 0.1 s until the command succeeds; fails at the end.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# x COMMAND...: an X client against our display, never waiting for ever.
x() { DISPLAY=":$display" timeout 10 "$@"; }

# ---------------------------------------------------------------------------------------------
# Windows

program_alive() { running "$program"; }

# The visible top-level windows of the program.
program_windows() { x xdotool search --onlyvisible --pid "$program" 2>/dev/null || true; }

title() { x xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'; }

viewable() { x xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# visible_windows: "ID TYPE TITLE" for each visible window of the program, a line each (TYPE as
# _NET_WM_WINDOW_TYPE_DIALOG, the first type the window gives).
visible_windows() {
  local w
  for w in $(program_windows); do
    x xprop -id "$w" -notype _NET_WM_WINDOW_TYPE _NET_WM_NAME 2>/dev/null | awk -v id="$w" '
      /^_NET_WM_WINDOW_TYPE = / {type = $3; sub(/,$/, "", type)}
      /^_NET_WM_NAME = "/ {name = substr($0, 17, length($0) - 17)}
      END {print id, (type == "" ? "-" : type), name}'
  done
}

# in_list TITLE [TYPE]: from visible_windows on standard input, the id of the first window of
# that title (and type).
in_list() {
  awk -v title="$1" -v type="${2:-}" '
    substr($0, length($1) + length($2) + 3) == title && (type == "" || $2 == type) {print $1; found = 1; exit}
    END {exit !found}'
}

# find_window TITLE: the id of the program's visible window of that title (exactly).
find_window() { visible_windows | in_list "$1"; }

# find_box: the program's visible message box.
find_box() { visible_windows | in_list "$box_title" _NET_WM_WINDOW_TYPE_DIALOG; }

# await_window SECONDS TITLE: prints the window's id once it shows.
await_window() {
  local deadline=$((SECONDS + $1)) w
  while :; do
    w=$(find_window "$2") && { echo "$w"; return 0; }
    program_alive || return 1
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

await_box() {
  local deadline=$((SECONDS + $1)) w
  while :; do
    w=$(find_box) && { echo "$w"; return 0; }
    program_alive || return 1
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

gone() { ! viewable "$1"; }

# geometry WIN: "x y width height" of its client area on the screen.
geometry() {
  x xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /^ +Width:/ {w = $2} /^ +Height:/ {h = $2} END {print x + 0, y + 0, w + 0, h + 0}'
}

# frame WIN: "x y width height" of the window with the frame the window manager put around it.
frame() {
  local gx gy gw gh l r t b
  read -r gx gy gw gh < <(geometry "$1")
  read -r l r t b < <(x xprop -id "$1" -notype _NET_FRAME_EXTENTS | sed -n 's/^.* = //p' | tr -d ',')
  echo $((gx - ${l:-0})) $((gy - ${t:-0})) $((gw + ${l:-0} + ${r:-0})) $((gh + ${t:-0} + ${b:-0}))
}

# centred_within X Y W H AX AY AW AH: the first rectangle's centre is within 2 px of the second's.
centred_within() {
  local dx=$((2 * $1 + $3 - 2 * $5 - $7)) dy=$((2 * $2 + $4 - 2 * $6 - $8))
  [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ]
}

# is_centred WIN AX AY AW AH: the window's frame is centred on that area now.
is_centred() {
  local fx fy fw fh
  read -r fx fy fw fh < <(frame "$1")
  centred_within "$fx" "$fy" "$fw" "$fh" "$2" "$3" "$4" "$5"
}

# check_centred WHAT WIN AX AY AW AH: the window's frame is centred on that area, once the window
# manager has framed it and the program has placed it again (given 3 s on a loaded machine).
check_centred() {
  local what=$1 fx fy fw fh
  wait_for 3 is_centred "${@:2}" || true
  read -r fx fy fw fh < <(frame "$2")
  check "$what (frame ${fw}x${fh}+$fx+$fy, centre $((fx + fw / 2)),$((fy + fh / 2)); wanted $(($3 + $5 / 2)),$(($4 + $6 / 2)))" \
    centred_within "$fx" "$fy" "$fw" "$fh" "$3" "$4" "$5" "$6"
}

# ---------------------------------------------------------------------------------------------
# Mouse, keyboard, clipboard, pixels

# A point travels as one word "X Y" of screen coordinates.
click() {
  local px py
  read -r px py <<<"$1"
  x xdotool mousemove "$px" "$py" click 1
}
key() { x xdotool key "$@"; }
type_text() { x xdotool type --delay 15 "$1"; }

# replace_text POINT TEXT: clicks into a field, selects all and types over it.
replace_text() {
  click "$1"
  key ctrl+a
  type_text "$2"
}

# field_text POINT: the text of the field there, through select-all and copy.
field_text() {
  local sentinel="screenshots-$RANDOM$RANDOM" got=""
  click "$1"
  printf '%s' "$sentinel" | x xclip -i -selection clipboard >/dev/null 2>&1
  key ctrl+a ctrl+c
  local deadline=$((SECONDS + 3))
  while [ "$SECONDS" -lt "$deadline" ]; do
    got=$(x xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true)
    [ "$got" != "$sentinel" ] && break
    sleep 0.1
  done
  [ "$got" != "$sentinel" ] || return 1
  printf '%s' "$got"
}

# window_gray WIN X Y W H: that part of the window's own picture in grey, a pixel's value a line,
# row after row.
window_gray() {
  x xwd -id "$1" -silent | xwdtopnm 2>/dev/null | pnmcut -left "$2" -top "$3" -width "$4" -height "$5" |
    ppmtopgm | pnmtoplainpnm | tail -n +4 | tr -s ' \n' '\n' | awk 'NF'
}

# pixel WIN X Y: "r g b" of one pixel of the window.
pixel() {
  x xwd -id "$1" -silent | xwdtopnm 2>/dev/null | pnmcut -left "$2" -top "$3" -width 1 -height 1 |
    pnmtoplainpnm | tail -n +4 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}

# menu_bar_height WIN: Qt's menu bar ends with a line a shade darker than itself.
menu_bar_height() {
  window_gray "$1" 3 0 1 40 | awk 'NR == 1 {top = $1} $1 != top {print NR; exit}'
}

# menu_titles WIN HEIGHT WIDTH: "left right" of each title on the menu bar, left to right. A gap
# of 10 px or more between inked columns separates two titles; words of one title are closer.
menu_titles() {
  window_gray "$1" 0 2 "$3" $(($2 - 4)) | awk -v w="$3" '
    NR == 1 {bg = $1}
    {if ($1 < bg - 14) ink[(NR - 1) % w] = 1}
    END {
      start = -1
      for (c = 0; c <= w; c++) {
        if (ink[c]) { if (start < 0) start = c; last = c }
        else if (start >= 0 && c - last >= 10) { print start, last; start = -1 }
      }
      if (start >= 0) print start, last
    }'
}

# ---------------------------------------------------------------------------------------------
# Setting up

start_display() {
  local fd_file="$scratch/display"
  Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
    3>"$fd_file" >"$scratch/xvfb.log" 2>&1 &
  pids+=($!)
  wait_for 10 grep -q '^[0-9]' "$fd_file" || { cat "$scratch/xvfb.log" >&2; die "Xvfb did not start"; }
  display=$(head -n1 "$fd_file")
  DISPLAY=":$display" openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 10 window_manager_runs || { cat "$scratch/openbox.log" >&2; die "openbox did not start"; }
  echo "display :$display with openbox"
}

window_manager_runs() {
  local check_window
  check_window=$(x xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
  [ -n "$check_window" ] && x xprop -id "$check_window" -notype _NET_WM_NAME 2>/dev/null | grep -q Openbox
}

start_register() {
  "$bin/morvek-sim" --protocol datecs --host "$register_host" --port "$register_port" \
    --journal "$root/data/sample-journal.xml" --fiscal-number "$fiscal" --quiet \
    --log "$scratch/morvek-sim.log" >"$scratch/morvek-sim.out" 2>&1 &
  register=$!
  pids+=("$register")
  wait_for 10 grep -q listening "$scratch/morvek-sim.out" ||
    { cat "$scratch/morvek-sim.out" >&2; die "morvek-sim did not start (is $register_host:$register_port taken?)"; }
  cat "$scratch/morvek-sim.out"
}

# stop_register: the register goes away for good (its id leaves the list of those to stop).
stop_register() {
  stop "$register"
  local kept=() pid
  for pid in "${pids[@]}"; do [ "$pid" = "$register" ] || kept+=("$pid"); done
  pids=("${kept[@]}")
}

start_program() {
  mkdir -p "$scratch/work" "$scratch/runtime"
  chmod 700 "$scratch/runtime"
  (cd "$scratch/work" && DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
    exec "$bin/morvek") >"$scratch/morvek.out" 2>&1 &
  program=$!
  pids+=("$program")
}

# ---------------------------------------------------------------------------------------------
# The main window, found once, and the places of its controls

main=""
menu_h=0
menu_klef=() # left right of the title "КЛЭФ" on the menu bar
menu_archive=()
menu_language=() # "Мова"
menu_about=()
lime="0 255 0"
red="255 0 0"

# at_main X Y: the screen point of a point of the client area below the menu bar.
at_main() {
  local gx gy gw gh
  read -r gx gy gw gh < <(geometry "$main")
  echo $((gx + $1)) $((gy + menu_h + $2))
}

click_main() { click "$(at_main "$1" "$2")"; }

indicator_rgb() { pixel "$main" "${main_indicator[0]}" $((menu_h + main_indicator[1])); }
indicator_is() { [ "$(indicator_rgb)" = "$1" ]; }

# main_ready: "Закрыть" is enabled (black text). While the main window activates, its buttons
# and menu items are disabled and clicks on them are lost.
main_ready() {
  window_gray "$main" $((main_close[0] - 40)) $((menu_h + main_close[1] - 8)) 80 16 |
    awk '$1 < 60 {n++} END {exit !(n > 20)}'
}

# settle: after a window of the program closed, the main window activates again, which takes
# its probe's second and a bit; it disables "Закрыть" only after the first 100 ms of it.
settle() {
  sleep 1.5
  wait_for 5 main_ready || fail "\"Закрыть\" of the main window stays disabled"
}

# close_box WIN: Return on the box, which must go away.
close_box() {
  [ "$(x xdotool getactivewindow 2>/dev/null)" = "$1" ] || x xdotool windowactivate "$1" 2>/dev/null || true
  key Return
  wait_for 5 gone "$1"
}

# capture_box SECONDS NAME WHAT: waits for a message box, takes the screen and the box alone, and
# closes it; WHAT names the box in the failure.
capture_box() {
  local box
  if box=$(await_box "$1"); then
    sleep 0.3 # time to paint
    shot "$2"
    shot_box "$box" "$2"
    close_box "$box" || fail "the box did not close on Return"
  else
    fail "no message box $3"
    shot "no-$2"
  fi
}

# ---------------------------------------------------------------------------------------------
# The road

step_first_start() {
  step "first start without morvek.ini"
  start_program
  local box=""
  box=$(await_box 15) || fail "the message about the missing morvek.ini did not show"
  main=$(program_windows | while read -r w; do
    case "$(title "$w")" in "$main_title" | "$probe_title") echo "$w" ;; esac
  done | head -n1)
  sleep 0.3 # time to paint
  shot "start-morvek-ini-missing"
  [ -z "$box" ] || shot_box "$box" "start-morvek-ini-missing"
  if [ -n "$main" ] && [ -n "$box" ]; then
    local t
    t=$(title "$main")
    check "the main window's title while the box is shown is \"$main_title\" (it is \"$t\")" \
      test "$t" = "$main_title"
  elif [ -z "$main" ]; then
    fail "the main window is not shown"
  fi
  [ -z "$box" ] || close_box "$box" || fail "the box did not close on Return"
  wait_for 5 grep -q IPAddres "$scratch/work/morvek.ini" 2>/dev/null || true
  check "morvek.ini was written with IPAddres=127.0.0.1" \
    grep -qs '^IPAddres=127\.0\.0\.1.\?$' "$scratch/work/morvek.ini"
}

step_main_window() {
  step "main window before connecting"
  [ -n "$main" ] || main=$(await_window 10 "$main_title") || { fail "no main window"; return 1; }
  x xdotool mousemove 0 0 # no highlighted title on the menu bar while it is measured
  sleep 0.3
  menu_h=$(menu_bar_height "$main")
  if [ -z "$menu_h" ] || [ "$menu_h" -lt 18 ] || [ "$menu_h" -gt 32 ]; then
    fail "the menu bar's height could not be measured (got '$menu_h')"
    return 1
  fi
  wait_for 5 main_ready || fail "\"Закрыть\" of the main window is not enabled"
  local gx gy gw gh
  read -r gx gy gw gh < <(geometry "$main")
  echo "  client area ${gw}x${gh}+$gx+$gy, menu bar $menu_h px"
  check "the main window's client width is $client_w (it is $gw)" test "$gw" -eq "$client_w"
  check "the main window's client height is $client_h + the menu bar, 298..312 (it is $gh, menu bar $menu_h)" \
    test "$gh" -ge 298 -a "$gh" -le 312
  check_centred "the main window is centred on the screen" "$main" 0 0 "$screen_w" "$screen_h"
  local titles
  mapfile -t titles < <(menu_titles "$main" "$menu_h" "$gw")
  if [ "${#titles[@]}" -ne 4 ]; then
    fail "the four titles of the menu bar were not found (${#titles[@]} found)"
    return 1
  fi
  read -r -a menu_klef <<<"${titles[0]}"
  read -r -a menu_archive <<<"${titles[1]}"
  read -r -a menu_language <<<"${titles[2]}"
  read -r -a menu_about <<<"${titles[3]}"
  shot "main-window-before-connecting"
}

# connect: clicks the connect button and waits for the indicator to turn lime.
connect() {
  click_main "${main_connect[@]}"
  wait_for 15 indicator_is "$lime"
}

# expect_field WHAT POINT TEXT: the field there holds the text (so the clicks landed).
expect_field() {
  local got
  got=$(field_text "$2") || got="(nothing copied)"
  [ "$got" = "$3" ] || fail "$1 holds '$got' after typing '$3'"
}

step_connect() {
  step "connecting to the register at $register_host"
  replace_text "$(at_main "${main_ip[@]}")" "$register_host"
  replace_text "$(at_main "${main_identity[@]}")" "$fiscal"
  expect_field "the IP field" "$(at_main "${main_ip[@]}")" "$register_host"
  expect_field "the identity field" "$(at_main "${main_identity[@]}")" "$fiscal"
  if connect; then
    pass "connected: the indicator is lime"
  else
    fail "not connected within 15 s (the indicator is $(indicator_rgb))"
  fi
  local t
  t=$(title "$main")
  check "the main window's title after connecting is \"$main_title\" (it is \"$t\")" test "$t" = "$main_title"
  shot "main-window-connected"
}

step_refused_address() {
  step "a typed address survives the error message"
  replace_text "$(at_main "${main_ip[@]}")" "$silent_host"
  if indicator_is "$lime"; then
    click_main "${main_connect[@]}" # it reads "Отключить"
    wait_for 5 indicator_is "$red" || fail "the program did not disconnect"
  fi
  click_main "${main_connect[@]}"
  capture_box 10 "message-box-server-not-answering" "after connecting to $silent_host"
  settle
  local got
  got=$(field_text "$(at_main "${main_ip[@]}")") || got="(nothing copied)"
  check "the IP field still holds $silent_host after the message (it holds '$got')" test "$got" = "$silent_host"
  replace_text "$(at_main "${main_ip[@]}")" "$register_host"
  connect || fail "not connected again to $register_host within 15 s"
}

# The retrieval window's controls on the screen.
retrieval=""
at_retrieval() {
  local gx gy gw gh
  read -r gx gy gw gh < <(geometry "$retrieval")
  echo $((gx + $1)) $((gy + $2))
}
retrieval_close_at() {
  local gx gy gw gh
  read -r gx gy gw gh < <(geometry "$retrieval")
  echo $((gx + gw - retrieval_close_from_corner[0])) $((gy + gh - retrieval_close_from_corner[1]))
}

# fetch FIRST LAST: fills the number fields and clicks "Получить"; while the request runs, reads
# the main window's title every 20 ms and looks at the other windows every fifth time, until the
# retrieval window is back (or shows the documents without having been seen hidden) or a box shows. Sets fetch_titles (the titles seen, a line each) and
# notice ("" when the notice window was not caught, else its frame, with "NOT " in front when it
# is off the screen's centre).
fetch() {
  replace_text "$(at_retrieval "${retrieval_first[@]}")" "$1"
  replace_text "$(at_retrieval "${retrieval_last[@]}")" "$2"
  expect_field "the first number field" "$(at_retrieval "${retrieval_first[@]}")" "$1"
  expect_field "the last number field" "$(at_retrieval "${retrieval_last[@]}")" "$2"
  local listed=no
  list_has_text && listed=yes
  click "$(at_retrieval "${retrieval_fetch[@]}")"
  fetch_titles=""
  notice=""
  local hidden=no deadline=$((SECONDS + 60)) polls=0 began=$EPOCHREALTIME windows t w fx fy fw fh
  while [ "$SECONDS" -lt "$deadline" ]; do
    polls=$((polls + 1))
    t=$(x xprop -id "$main" -notype _NET_WM_NAME 2>/dev/null) || t=""
    t=${t#*= \"}
    t=${t%\"}
    case $'\n'"$fetch_titles"$'\n' in *$'\n'"$t"$'\n'*) ;; *) fetch_titles+="${fetch_titles:+$'\n'}$t" ;; esac
    if [ $((polls % 5)) -eq 1 ]; then
      program_alive || break
      windows=$(visible_windows)
      if [ -z "$notice" ] && w=$(in_list "$notice_title" <<<"$windows"); then
        read -r fx fy fw fh < <(frame "$w")
        notice="${fw}x${fh}+$fx+$fy"
        centred_within "$fx" "$fy" "$fw" "$fh" 0 0 "$screen_w" "$screen_h" || notice="NOT $notice"
      fi
      if [[ $'\n'"$windows" == *$'\n'"$retrieval "* ]]; then
        # A request quicker than a look at the windows is over once the list shows it.
        [ "$hidden" = yes ] && break
        [ "$listed" = no ] && [ "$polls" -gt 1 ] && list_has_text && break
      else
        hidden=yes
      fi
      in_list "$box_title" _NET_WM_WINDOW_TYPE_DIALOG <<<"$windows" >/dev/null && break
    fi
    sleep 0.02
  done
  local ms=$(((${EPOCHREALTIME/./} - ${began/./}) / 1000))
  echo "  the request: the title read $polls times in $ms ms"
}

never_seen() { ! grep -qxF -- "$1" <<<"$fetch_titles"; }

# list_has_text: the document list shows text (dark pixels) in its upper part.
list_has_text() {
  window_gray "$retrieval" "${retrieval_list[@]}" | awk '$1 < 100 {n++} END {exit !(n > 200)}'
}

step_fetch() {
  step "retrieval window: documents 1517 to 1529"
  wait_for 5 main_ready || true
  click_main $(((menu_klef[0] + menu_klef[1]) / 2)) $((-menu_h / 2))
  sleep 0.5
  click_main $((menu_klef[0] + 40)) 11 # the menu's only item, just below its title
  if ! retrieval=$(await_window 10 "$retrieval_title"); then
    fail "the retrieval window did not open from the menu"
    shot "no-retrieval-window"
    return 1
  fi
  sleep 0.5
  check_centred "the retrieval window is centred on the screen" "$retrieval" 0 0 "$screen_w" "$screen_h"
  local type
  type=$(field_text "$(at_retrieval "${retrieval_type[@]}")") || type="(nothing copied)"
  check "the document type reads \"Чек+Z-отчет\" (it reads '$type')" test "$type" = "Чек+Z-отчет"
  fetch 1517 1529
  check "the main window's title never reads \"$probe_title\" during the request (seen: ${fetch_titles//$'\n'/ | })" \
    never_seen "$probe_title"
  if [ -n "$notice" ]; then
    check "the notice window is centred on the screen (frame ${notice#NOT })" test "${notice#NOT }" = "$notice"
  else
    echo "  (the notice window was not caught on the screen)"
  fi
  wait_for 10 viewable "$retrieval" || fail "the retrieval window did not come back after the request"
  sleep 0.3
  check "the list shows the fetched documents" list_has_text
  shot "retrieval-window-after-fetch"
}

step_failed_fetch() {
  step "a fetch that loses its documents: the register is gone"
  stop_register
  if [ -z "$retrieval" ] || ! viewable "$retrieval"; then
    fail "no retrieval window to fetch from"
    return 1
  fi
  fetch 1530 1531
  capture_box 60 "lost-documents" "naming the lost documents"
}

step_after_failed_fetch() {
  step "the retrieval window after the failed fetch"
  [ -n "$retrieval" ] || return 1
  wait_for 10 viewable "$retrieval" || fail "the retrieval window did not come back after the failed request"
  sleep 0.3
  shot "retrieval-window-after-failed-fetch"
  click "$(retrieval_close_at)"
  wait_for 5 gone "$retrieval" || fail "the retrieval window did not close on \"Закрыть\""
}

# find_titled PREFIX: the program's window whose title starts with PREFIX.
find_titled() {
  local w
  for w in $(program_windows); do
    case "$(title "$w")" in "$1"*) echo "$w" && return 0 ;; esac
  done
  return 1
}

# find_about: the About box.
find_about() { find_titled "О программе"; }

step_about() {
  step "the About box"
  settle
  click_main $(((menu_about[0] + menu_about[1]) / 2)) $((-menu_h / 2))
  local about
  if ! wait_for 10 find_about >/dev/null || ! about=$(find_about); then
    fail "the About box did not open"
    shot "no-about-box"
    return 1
  fi
  sleep 0.3
  local mx my mw mh
  read -r mx my mw mh < <(frame "$main")
  check_centred "the About box is centred over the main window" "$about" "$mx" "$my" "$mw" "$mh"
  local hints min max
  hints=$(x xprop -id "$about" WM_NORMAL_HINTS)
  min=$(sed -n 's/.*minimum size: //p' <<<"$hints")
  max=$(sed -n 's/.*maximum size: //p' <<<"$hints")
  check "the About box has a fixed size (minimum '$min', maximum '$max')" test -n "$min" -a "$min" = "$max"
  shot "about-box"
  local ax ay aw ah
  read -r ax ay aw ah < <(geometry "$about")
  click "$((ax + aw / 2)) $((ay + ah - about_close_from_bottom))"
  wait_for 5 gone "$about" || fail "the About box did not close on \"Закрыть\""
}

# fill_archive: the journals of two simulated registers (each written by morvek-sim as it serves
# it) imported into the archive of the program's working folder, which its morvek.ini leaves at
# the default; the second register's tape lacks its receipt 150.
fill_archive() {
  local fn journal sim
  for fn in 4000000101 4000000102; do
    journal="$scratch/journal-$fn.xml"
    "$bin/morvek-sim" --protocol datecs --host "$register_host" --port 0 --generate 600 --days 10 \
      --seed "${fn: -1}" --fiscal-number "$fn" --write-journal "$journal" --quiet \
      >"$scratch/sim-$fn.out" 2>&1 &
    sim=$!
    pids+=("$sim")
    wait_for 10 grep -qs listening "$scratch/sim-$fn.out" || { fail "morvek-sim did not write $journal"; return 1; }
    stop "$sim"
    if [ "$fn" = 4000000102 ]; then
      # One document a line (Windows-1251 bytes, so -a).
      LC_ALL=C grep -av 'NO="150"' "$journal" >"$journal.cut" && mv "$journal.cut" "$journal"
    fi
    "$bin/morvek-cli" archive import --archive "$scratch/work/morvek-archive.sqlite" "$journal" ||
      { fail "morvek-cli archive import $journal"; return 1; }
  done
}

# find_archive: the archive window.
find_archive() { find_titled "Архив"; }

step_archive() {
  step "the archive window"
  fill_archive || return 1
  settle
  click_main $(((menu_archive[0] + menu_archive[1]) / 2)) $((-menu_h / 2))
  local archive
  if ! wait_for 10 find_archive >/dev/null || ! archive=$(find_archive); then
    fail "the archive window did not open"
    shot "no-archive-window"
    return 1
  fi
  wait_for 5 drawn "$archive" || fail "the archive window has drawn nothing in 5 s"
  sleep 1 # the chart and the text image
  check_centred "the archive window is centred on the screen" "$archive" 0 0 "$screen_w" "$screen_h"
  check "no message box over the archive window" test -z "$(find_box)"
  shot "archive-window"
  local file="$shots/$(printf '%02d' "$step_no")-archive-window-alone.png"
  if x xwd -id "$archive" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$file" 2>/dev/null; then
    printf '  shot  %s\n' "$file"
  else
    fail "screenshot $file"
  fi
  # Receipts 148 to 152 of both registers: the one after the receipt the second register lacks
  # is marked.
  local ax ay aw ah
  read -r ax ay aw ah < <(geometry "$archive")
  replace_text "$((ax + archive_number_from[0])) $((ay + archive_number_from[1]))" 148
  replace_text "$((ax + archive_number_to[0])) $((ay + archive_number_to[1]))" 152
  key Return
  sleep 1
  check "no message box after filtering by numbers" test -z "$(find_box)"
  shot "archive-window-numbers-148-152"
  x xdotool windowactivate "$archive" 2>/dev/null || true
  key alt+F4
  wait_for 5 gone "$archive" || fail "the archive window did not close"
}

# The archive's documents of one register as the PDF export writes them, A4 columns and the 80 mm
# roll, their first pages rendered as pictures.
step_pdf_pages() {
  step "PDF pages of the archive"
  local paper pdf
  for paper in a4 roll80; do
    pdf="$scratch/tape-$paper.pdf"
    if ! "$bin/morvek-cli" export --archive "$scratch/work/morvek-archive.sqlite" \
      --register 4000000101 --type receipt --format pdf --paper "$paper" --out "$pdf" >/dev/null; then
      fail "morvek-cli export --format pdf --paper $paper"
      continue
    fi
    local file="$shots/$(printf '%02d' "$step_no")-pdf-$paper-page-1"
    if pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "$file"; then
      printf '  shot  %s.png\n' "$file"
    else
      fail "pdftoppm $pdf"
    fi
  done
}

step_close() {
  step "closing the main window"
  settle
  click_main "${main_close[@]}"
  if wait_for 5 eval '! program_alive'; then
    pass "the program ended within 5 s of \"Закрыть\""
  else
    fail "the program still runs 5 s after \"Закрыть\""
  fi
}

# The program started again in the working folder, whose morvek.ini now chooses Ukrainian: the
# main window connected, and the retrieval window with receipts 1517 to 1529.
step_ukrainian() {
  step "the windows in Ukrainian"
  printf '[Language]\r\nLang=uk\r\n' >>"$scratch/work/morvek.ini"
  start_register
  start_program
  main=""
  main=$(await_window 20 "$main_title_uk") || { fail "no main window titled \"$main_title_uk\""; return 1; }
  sleep 0.3
  wait_for 5 main_ready || fail "\"Закрити\" of the main window is not enabled"
  replace_text "$(at_main "${main_ip[@]}")" "$register_host"
  replace_text "$(at_main "${main_identity[@]}")" "$fiscal"
  connect || fail "not connected within 15 s (the indicator is $(indicator_rgb))"
  shot "main-window-in-ukrainian"
  click_main $(((menu_klef[0] + menu_klef[1]) / 2)) $((-menu_h / 2))
  sleep 0.5
  click_main $((menu_klef[0] + 40)) 11
  if ! retrieval=$(await_window 10 "$retrieval_title_uk"); then
    fail "the retrieval window titled \"$retrieval_title_uk\" did not open from the menu"
    shot "no-retrieval-window-in-ukrainian"
    return 1
  fi
  sleep 0.5
  local type
  type=$(field_text "$(at_retrieval "${retrieval_type[@]}")") || type="(nothing copied)"
  check "the document type reads \"Чек+Z-звіт\" (it reads '$type')" test "$type" = "Чек+Z-звіт"
  fetch 1517 1529
  wait_for 10 viewable "$retrieval" || fail "the retrieval window did not come back after the request"
  sleep 0.3
  check "the list shows the fetched documents" list_has_text
  shot "retrieval-window-in-ukrainian"
  click "$(retrieval_close_at)"
  wait_for 5 gone "$retrieval" || fail "the retrieval window did not close on \"Закрити\""
  settle
  click_main "${main_close[@]}"
  wait_for 5 eval '! program_alive' || fail "the program still runs 5 s after \"Закрити\""
}

# ---------------------------------------------------------------------------------------------

scripts/setup.sh
for tool in Xvfb openbox xdotool xwd xwdtopnm pnmtopng xwininfo xprop xclip pdftoppm; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup.sh installs it)"
done
if [ ! -x "$build/src/morvek" ] || [ ! -x "$build/src/morvek-sim" ] || [ ! -x "$build/src/morvek-cli" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$jobs" --target morvek morvek-sim morvek-cli >/dev/null
fi
bin="$(cd "$build/src" && pwd)"
mkdir -p "$shots"
rm -f "$shots"/[0-9][0-9]-*.png
scratch="$(mktemp -d)"
start=$SECONDS

start_display
start_register
# A step that cannot go to its end has said why; the next ones still run, as long as there is a
# program with its main window to drive.
for road_step in step_first_start step_main_window step_connect step_refused_address step_fetch \
  step_failed_fetch step_after_failed_fetch step_about step_archive step_pdf_pages step_close \
  step_ukrainian; do
  "$road_step" || true
  case "$road_step" in step_close) continue ;; step_ukrainian) break ;; esac
  if ! program_alive; then
    fail "the program ended during step $step_no; the steps after it did not run"
    break
  fi
  if [ -z "$main" ] || { [ "$road_step" != step_first_start ] && [ "$menu_h" -eq 0 ]; }; then
    fail "without the main window and its menu bar the steps after $step_no cannot run"
    break
  fi
done

printf '\n== pictures (%s)\n' "$shots"
ls -1 "$shots"/[0-9][0-9]-*.png 2>/dev/null || echo "  none"
printf '\n== %d s\n' $((SECONDS - start))
if [ "${#failures[@]}" -gt 0 ]; then
  printf '\n== %d checks FAILED:\n' "${#failures[@]}"
  printf '  - %s\n' "${failures[@]}"
  printf '\n-- morvek output:\n'
  tail -n 20 "$scratch/morvek.out" || true
  exit 1
fi
printf '\n== all checks passed\n'
