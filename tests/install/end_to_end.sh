#!/usr/bin/env bash
# The real QUORLA32 on a private X server, driven with the mouse through
# xdotool, or under a private headless Wayland compositor.
#
#   end_to_end.sh play BUILD_DIR [SHOT_DIR]
#     a scratch copy of the build directory: deal, take a card and discard
#     with the mouse, close; start again and find the game resumed, the
#     learned networks and the statistics kept.
#   end_to_end.sh signals BUILD_DIR [SHOT_DIR]
#     a scratch copy played and ended by SIGTERM, SIGHUP or SIGINT at random
#     moments (with a question open, during the computer's move, after a
#     move), KILLS rounds (default 4); now and then a second signal or a
#     SIGKILL follows during the save. Every start resumes a readable game, the statistics are
#     kept, and no temporary file of ours is left behind.
#   end_to_end.sh keyboard BUILD_DIR [SHOT_DIR]
#     a scratch copy played with key presses alone until a hand has ended,
#     then closed: the saved game reads back with that hand over.
#   end_to_end.sh mouse BUILD_DIR [SHOT_DIR]
#     the same with the mouse alone, a card dragged from a pile into the hand
#     and one onto the discard pile each turn, the boxes answered by a click;
#     a card held up while the computer moves shows where the mouse took it.
#   end_to_end.sh window BUILD_DIR [SHOT_DIR]
#     without a window manager: F11 fills the screen and gives the window
#     back; a window moved and resized, closed and started again comes back
#     as it was; a remembered maximised window starts filling the screen,
#     and full screen from there returns to it.
#   end_to_end.sh second BUILD_DIR [SHOT_DIR]
#     a second start on the configuration a running copy uses shows no
#     table, says so in a box and leaves; whether it leaves before or after
#     the first copy closes, it writes none of that configuration's files.
#   end_to_end.sh wayland BUILD_DIR [SHOT_DIR]
#     a scratch copy under weston's headless compositor, without an X server:
#     Large Table from the menu and a move by keyboard, closed by Ctrl+Q;
#     started again it resumes the game at the grown size, and ends by
#     SIGTERM. The place an X11 run remembered is left alone, and the
#     program writes nothing to stderr. Needs weston, Qt's Wayland plugin and the key seat
#     module for weston that the build makes (QUORLA_KEY_SEAT names it).
#   end_to_end.sh installed BUILD_DIR [SHOT_DIR]
#     `cmake --install` into a scratch prefix made read-only: the program
#     starts from games/quorla, keeps the player's files in $XDG_DATA_HOME/quorla
#     and writes nothing into the installation.
#
# Screenshots of each step go to SHOT_DIR (default: the scratch directory,
# removed afterwards). Exits 77 (skipped) without Xvfb, xdotool or ImageMagick;
# the wayland mode without what it needs.
set -u

mode=${1:-}
build=${2:-}
shots=${3:-}
if [ "$mode" != play ] && [ "$mode" != installed ] && [ "$mode" != signals ] && [ "$mode" != keyboard ] &&
    [ "$mode" != mouse ] && [ "$mode" != window ] && [ "$mode" != second ] && [ "$mode" != wayland ] ||
    [ ! -x "$build/QUORLA32" ]; then
  echo "usage: end_to_end.sh play|signals|keyboard|mouse|window|second|wayland|installed BUILD_DIR [SHOT_DIR]" >&2
  exit 2
fi
build=$(cd "$build" && pwd)
skip() {
  echo "SKIPPED: $*"
  exit 77
}
if [ "$mode" = wayland ]; then
  command -v weston >/dev/null || skip "weston is not installed"
  # Qt's plugins beside the Qt the program is linked with.
  qt_core=$(ldd "$build/QUORLA32" | awk '$1 ~ /^libQt6Core/ { print $3 }')
  plugins=$(for dir in ${QT_PLUGIN_PATH:+${QT_PLUGIN_PATH//:/ }} "$(dirname "$qt_core")/qt6/plugins"; do
    ls "$dir"/platforms/libqwayland-*.so 2>/dev/null; done)
  [ -n "$plugins" ] || skip "Qt's Wayland platform plugin is not installed"
  [ -f "${QUORLA_KEY_SEAT:-}" ] || skip "the key seat module for weston was not built (libweston-10-dev)"
else
  for tool in Xvfb xdotool import convert; do
    command -v $tool >/dev/null || skip "$tool is not installed"
  done
fi

scratch=$(mktemp -d /tmp/quorla-e2e.XXXXXX)
[ -n "$shots" ] || shots=$scratch/shots
mkdir -p "$shots"
xvfb_pid=
weston_pid=
watchdog_pid=
game_pid=

cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
  fi
  # The server must be gone before the next run starts its own: one that
  # is still exiting removes the lock and socket of the display number the
  # next one may already have taken again.
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  chmod -R u+w "$scratch" 2>/dev/null
  [ -n "${KEEP_SCRATCH:-}" ] || rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# A display of our own, chosen by the server itself and written to a file
# once it accepts connections: two runs that looked for a free number at the
# same moment could otherwise both take the same one, and the second server
# would quietly fail while its test used the first one's display. Without
# -noreset the server starts afresh each time its last client goes (every
# close of the game), and a game started again in that moment cannot
# connect.
if [ "$mode" = wayland ]; then
  unset DISPLAY
else
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  display=
  for _ in $(seq 100); do
    # The number counts once its line is complete.
    if [ "$(wc -l <"$scratch/display")" -ge 1 ]; then
      display=$(head -n 1 "$scratch/display")
      break
    fi
    kill -0 $xvfb_pid 2>/dev/null || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
    sleep 0.1
  done
  [ -n "$display" ] || fail "Xvfb did not start"
  export DISPLAY=:$display
fi

export HOME=$scratch/home
export XDG_DATA_HOME=$scratch/data
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

window=
origin_x=0
origin_y=0

# Starts the program and waits for its window to be shown and painted.
start_game() {
  local began
  began=$(date +%s%N)
  "$@" >"$scratch/game.log" 2>&1 &
  game_pid=$!
  window=
  for _ in $(seq 100); do
    window=$(main_window)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game stopped at start-up: $(cat "$scratch/game.log")"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no game window after 10 s"
  echo "window shown $(( ($(date +%s%N) - began) / 1000000 )) ms after the start"
  sleep 1.5
  dismiss_dialogs
  # The window mode looks at the window as the start left it.
  [ "$mode" = window ] && return
  table_at_own_size
  find_table_uncovered
}

# The window opens larger than the table on a first start, and as it was
# left afterwards; the clicks below are in the table's own pixels. Large
# Table twice (on, then off) leaves the window fitting the table at 1x.
# Each toggle is checked by the window's width, since a slow start (a
# sanitizer build) can swallow the letter before the menu is open and leave
# the menu over the table; Escape closes such a menu before the next try.
table_at_own_size() {
  local before
  for grow in 1 0; do
    before=$(window_width)
    for _ in 1 2 3 4 5; do
      xdotool windowfocus --sync "$window" 2>/dev/null
      xdotool key alt+o sleep 0.4 key l
      sleep 0.8
      if [ $grow -eq 1 ]; then [ "$(window_width)" -gt "$before" ] && break
      else [ "$(window_width)" -lt "$before" ] && break; fi
      xdotool key Escape sleep 0.2 key Escape
      sleep 0.4
    done
  done
}

# The table as found must show the computer's hand face down: a menu left
# open over it moves the first green pixel, and a face there would be some
# other window. Escape closes what a late key opened before the next look.
find_table_uncovered() {
  for _ in 1 2 3; do
    find_table
    computer_hand_shown || return 0
    xdotool key Escape sleep 0.2 key Escape
    sleep 0.5
  done
  shot covered-table
  fail "something stays over the table at the start"
}

window_width() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$WIDTH"
}

# The widest shown window of the program whose title starts with Quorla.
main_window() {
  local id
  for id in $(xdotool search --all --onlyvisible --pid "$game_pid" --name '^Quorla' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$WIDTH $id"
  done | sort -n | tail -1 | cut -d' ' -f2
}

# Dialogs shown at start-up (the introduction, a warning) are answered with
# Return, after a picture of each.
dismiss_dialogs() {
  local id round=0 found
  while [ $round -lt 5 ]; do
    found=
    for id in $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null); do
      [ "$id" = "$window" ] && continue
      found=$id
    done
    [ -n "$found" ] || return 0
    round=$((round + 1))
    shot "dialog-$(xdotool getwindowname "$found" | tr -c 'A-Za-z0-9\n' '-')"
    xdotool windowfocus --sync "$found" 2>/dev/null
    xdotool key Return
    sleep 0.5
  done
}

shot() {
  import -window root "$shots/$1.png" || fail "cannot take the screenshot $1"
}

# The table's top left corner on the screen: the first green pixel of the
# baize below the menu bar (and right of a button bar on the left).
find_table() {
  local x y width height
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x=$X y=$Y width=$WIDTH height=$HEIGHT
  import -window root -crop "${width}x${height}+$x+$y" +repage "$scratch/window.png"
  origin_y=$(first_green "$scratch/window.png" "1x$height+$((width / 2))+0" y)
  origin_x=$(first_green "$scratch/window.png" "${width}x1+0+$((origin_y + 100))" x)
  [ -n "$origin_y" ] && [ -n "$origin_x" ] || { shot no-table; fail "no table in the window"; }
  origin_x=$((x + origin_x))
  origin_y=$((y + origin_y))
}

first_green() {
  convert "$1" -crop "$2" +repage txt:- |
    awk -F'[ ,:()]+' -v axis="$3" 'NR > 1 && $4 > $3 + 30 && $4 > $5 + 30 { print (axis == "x" ? $1 : $2); exit }'
}

# Drags with the left button between two points in table coordinates.
drag() {
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) sleep 0.15 mousedown 1 sleep 0.15 \
    mousemove $((origin_x + ($1 + $3) / 2)) $((origin_y + ($2 + $4) / 2)) sleep 0.1 \
    mousemove $((origin_x + $3)) $((origin_y + $4)) sleep 0.15 mouseup 1
  sleep 0.3
}

# Closes the window the way a person does (Ctrl+Q, Game > Exit) and waits
# for the program to finish saving.
close_game() {
  dismiss_dialogs
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key ctrl+q
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    shot stuck-at-close
    fail "the game did not close within 10 s"
  fi
  wait "$game_pid"
  local status=$?
  game_pid=
  [ $status -eq 0 ] || fail "the game ended with status $status: $(cat "$scratch/game.log")"
}

# The blocks of the levels not played (all but level 1, the default) of a
# network data file: the level played is written back at close, where its
# weights may be rounded once.
unplayed_levels() { head -c 16024 "$1"; tail -c +32049 "$1"; }

# How many pixels of the person's hand differ between two screenshots.
hand_pixels_changed() {
  local area="$((hand_width + 4))x$((hand_height + 4))+$((origin_x + hand_left - 2))+$((origin_y + hand_top - 2))"
  convert "$shots/$1.png" -crop "$area" +repage "$scratch/hand-a.png"
  convert "$shots/$2.png" -crop "$area" +repage "$scratch/hand-b.png"
  compare -metric AE "$scratch/hand-a.png" "$scratch/hand-b.png" null: 2>&1 | cut -d' ' -f1
}

piles() { "$build/quorla-lab" inspect "$1" | grep -E '^(human|computer|stock|discard) +\('; }

# A scratch copy of the build directory, a working installation.
copy_game() {
  game=$scratch/game
  mkdir -p "$game"
  cp -a "$build/QUORLA32" "$build"/libneural.so* "$build/QLDEFLT.QLF" "$build/BACKIMG.QLF" "$game/"
  [ -e "$build/QUORLA32.HLP" ] && cp -a "$build/QUORLA32.HLP" "$game/"
}

# A hand's end lays the computer's hand open: the strip of its first card
# that shows turns from the back's blue to a mostly white face.
computer_hand_shown() {
  import -window root -crop "26x70+$((origin_x + computer_first_x))+$((origin_y + computer_first_y))" +repage \
      "$scratch/first-card.png" &&
    [ "$(convert "$scratch/first-card.png" -colorspace gray -format '%[fx:mean > 0.6]' info:)" = 1 ]
}

# The hand's end also shows the score sheet, a panel inside the frame: no
# window of its own comes up beside the table.
hand_ended() {
  computer_hand_shown || return 1
  [ -z "$(xdotool search --all --onlyvisible --pid "$game_pid" --name '^Score Sheet' 2>/dev/null)" ] ||
    fail "the score sheet came up as a window of its own"
}

# Played to a hand's end against Master: a game to 500, which no one hand
# can finish (the rules played by default allow only gin, which scores the
# other hand's deadwood and 25 more; against a hand that keeps every card it
# draws that passes 100 now and then, and a finished game leaves no game to
# save).
seat_master_for_a_hand() {
  copy_game
  printf '[Quorla]\nFirstPlay=0\n[Preferences]\nDifficultyLevel=3\nMaster=1\n[Play]\nGameTarget=500\n' >"$game/QUORLA.INI"
  start_game "$game/QUORLA32"
  shot 1-dealt
}

# Calls the turn function $1 until the function $2 finds the hand over. The
# computer takes two seconds a turn or more (far more in a sanitizer build):
# the time allowed is $3 seconds, and at most $4 calls of $1 may move.
turns=0
play_until_hand_over() {
  local turn_by=$1 over=$2 seconds=$3 most=$4 deadline=$((SECONDS + $3))
  turns=0
  until $over; do
    if [ $SECONDS -ge $deadline ] || [ $turns -ge "$most" ]; then
      shot 2-unfinished
      fail "the hand did not end by $mode play within $seconds s and $most turns ($turns turns, $((SECONDS - deadline + seconds)) s)"
    fi
    $turn_by && turns=$((turns + 1))
  done
  shot 2-played
}

# Closed after the hand: the saved game reads back with the hand over.
expect_hand_over_saved() {
  close_game
  grep -q '^Master=1' "$game/QUORLA.INI" || fail "Master is no longer chosen: $(cat "$game/QUORLA.INI")"
  "$build/quorla-lab" inspect "$game/RESUME.QLF" >"$scratch/inspect.txt" 2>&1 ||
    fail "the resume file does not read back: $(grep -h '^CanResume=' "$game/QUORLA.INI") $(cat "$scratch/inspect.txt")"
  grep -Eq '^hand over: +yes' "$scratch/inspect.txt" ||
    fail "the hand did not end by $mode play: $(grep -E '^(play state|hand over)' "$scratch/inspect.txt")"
  # The history of play holds the hand, once, at Master's level.
  python3 - "$game/HISTORY.DB" <<'PY' || fail "the history of play does not hold the hand once: $(ls -l "$game")"
import sqlite3, sys
rows = sqlite3.connect(sys.argv[1]).execute("SELECT level FROM hands").fetchall()
sys.exit(0 if rows == [(4,)] else 1)
PY
}

# Where the game lays a place out, in table pixels: place PILE CARDS POSITION
# sets left, top, right and bottom (right and bottom exclusive) to the part
# of card POSITION of PILE that shows while each hand holds CARDS cards, and
# x and y to its middle; the stock and the discard pile are position 0.
place() {
  local line
  line=$("$build/quorla-lab" places --cards "$2" | awk -v pile="$1" -v at="$3" '$1 == pile && $2 == at')
  [ -n "$line" ] || fail "quorla-lab places shows no card $3 of the $1 pile at $2 cards"
  read -r _ _ left top right bottom <<<"$line"
  x=$(((left + right) / 2)) y=$(((top + bottom) / 2))
}

# The presses and drops below, on the places the game gives: the stock and
# the upcard; the middle of the person's hand of ten; its first and second
# card at eleven, after a take, and its last at ten, after a discard.
place stock 10 0; stock_x=$x stock_y=$y
place discard 10 0; discard_x=$x discard_y=$y
place human 10 0; row_left=$left
place human 10 9; hand_x=$(((row_left + right) / 2)) hand_y=$y last_card_x=$x
place human 11 0; first_card_x=$x
place human 11 1; second_card_x=$x
# A strip of the computer's first card that shows at a hand's end, its ten laid open.
place computer 10 0; computer_first_x=$((left + 4)) computer_first_y=$((top + 10))

# The table's regions in table pixels: the person's hand, eleven cards
# wide, and all above it: the computer's hand, the line of its last move,
# the piles and the places where it shows the card it takes or knocks.
place human 11 0; hand_left=$left hand_top=$top
place human 11 10; hand_width=$((right - hand_left)) hand_height=$((bottom - hand_top))
human_hand_area="${hand_width}x$hand_height+$hand_left+$hand_top"
place computer 11 0; row_left=$left row_top=$top
place computer 11 10; row_right=$right
place stock 11 0
table_top_area="$((row_right - row_left))x$((bottom - row_top))+$row_left+$row_top"

# One picture of the whole table, for regions of the same moment.
snap_table() {
  import -window root -crop "576x384+$origin_x+$origin_y" +repage "$scratch/table.png" ||
    fail "cannot take a picture of the table"
}

region_digest() { convert "$scratch/table.png" -crop "$1" +repage -format '%#' info:; }

# Waits up to $3 tenths of a second, and one picture more however slow the
# pictures are under load, for the region $1 of the table to differ from
# the digest $2.
region_changes() {
  local end=$((SECONDS * 10 + $3))
  while :; do
    snap_table
    [ "$(region_digest "$1")" != "$2" ] && return 0
    [ $((SECONDS * 10)) -ge $end ] && return 1
    sleep 0.1
  done
}

# A box of ours over the table: a shown window that is neither the table
# nor the score sheet.
program_box() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null); do
    [ "$id" = "$window" ] && continue
    case "$(xdotool getwindowname "$id" 2>/dev/null)" in 'Score Sheet'*) continue ;; esac
    echo "$id"
    return
  done
}

# The titles of the boxes that end a hand: gin, a knock, the stock run out.
hand_end_box=
ended_by_box() {
  case "$1" in 'GIN!!!' | Knock | 'Stock Exhausted') return 0 ;; esac
  return 1
}

# Answers a box with a click on its one button, bottom right (or, in a
# style that centres it, in the middle); remembers a box that ended the
# hand. 1 when no box was shown.
answer_box_by_mouse() {
  local box title spot x y
  box=$(program_box)
  [ -n "$box" ] || return 1
  title=$(xdotool getwindowname "$box" 2>/dev/null)
  boxes=$((boxes + 1))
  shot "box-$boxes-$(echo "$title" | tr -c 'A-Za-z0-9\n' '-')"
  ended_by_box "$title" && hand_end_box=$title
  for spot in right lower middle; do
    eval "$(xdotool getwindowgeometry --shell "$box")"
    case $spot in
      right) x=$((X + WIDTH - 50)) y=$((Y + HEIGHT - 24)) ;;
      lower) x=$((X + WIDTH - 60)) y=$((Y + HEIGHT - 18)) ;;
      middle) x=$((X + WIDTH / 2)) y=$((Y + HEIGHT - 24)) ;;
    esac
    xdotool mousemove $x $y sleep 0.15 click 1
    for _ in $(seq 20); do
      [ -z "$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | grep -x "$box")" ] && return 0
      sleep 0.1
    done
  done
  shot box-stays
  fail "the box \"$title\" stays after three clicks where its button should be"
}
boxes=0

# Over by the mouse: a box said so, and the table shows it; after gin or a
# knock the score sheet is up as well.
hand_over_by_mouse() {
  [ -n "$hand_end_box" ] || return 1
  for _ in $(seq 30); do
    if [ "$hand_end_box" = 'Stock Exhausted' ]; then computer_hand_shown && return 0
    else hand_ended && return 0; fi
    sleep 0.2
  done
  shot ended-unseen
  fail "the box \"$hand_end_box\" ended the hand, but the table does not show it over"
}

# Right after the person's discard the last card of the hand is picked up
# and held a little above the hand, and the window must draw it there. It
# was drawn during the computer's move when the move ends after that
# picture: the computer's hand, the piles or the line of its move change
# later, or a box comes (its gin, a warning about the stock). 0 when seen
# so; 1 when the move was over first, or a box stopped the drag.
held_during_computer_move() {
  local hand=$1 moment= x=$last_card_x
  xdotool mousemove $((origin_x + x)) $((origin_y + hand_y)) sleep 0.1 mousedown 1 sleep 0.1 \
    mousemove $((origin_x + x)) $((origin_y + hand_y - 8)) sleep 0.05 mousemove $((origin_x + x)) $((origin_y + hand_y - 16))
  for _ in $(seq 30); do
    [ -n "$(program_box)" ] && break
    snap_table
    if [ "$(region_digest "$human_hand_area")" != "$hand" ]; then
      moment=$(region_digest "$table_top_area")
      cp "$scratch/table.png" "$scratch/held.png"
      break
    fi
    sleep 0.1
  done
  xdotool mousemove $((origin_x + x)) $((origin_y + hand_y)) sleep 0.1 mouseup 1
  if [ -z "$moment" ]; then
    [ -n "$(program_box)" ] && return 1
    shot held-card-not-drawn
    fail "a card held after the person's discard was not drawn for 3 s"
  fi
  for _ in $(seq 60); do
    if [ -n "$(program_box)" ] || { snap_table; [ "$(region_digest "$table_top_area")" != "$moment" ]; }; then
      cp "$scratch/held.png" "$shots/held-during-computer-move-$((held_seen + 1)).png"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# One turn by the mouse: the stock card (or the upcard, where only it may
# be taken), then the hand's first card onto the discard pile, or its second
# where the first is the upcard just taken. 1 when no turn was played: the
# computer is still moving, or a box was answered. A take that went unseen
# would leave the person to discard, and no take is allowed then: after a
# long while without one a discard is tried (on the computer's turn the card
# goes back into the hand).
held_seen=0
untaken=0
mouse_turn() {
  local hand took=0
  answer_box_by_mouse && return 1
  snap_table
  hand=$(region_digest "$human_hand_area")
  drag $stock_x $stock_y $hand_x $hand_y
  region_changes "$human_hand_area" "$hand" 10 && took=1
  if [ $took -eq 0 ]; then
    drag $discard_x $discard_y $hand_x $hand_y
    region_changes "$human_hand_area" "$hand" 10 && took=1
  fi
  if [ $took -eq 0 ]; then
    untaken=$((untaken + 1))
    [ $untaken -lt 8 ] && return 1
  fi
  untaken=0
  hand=$(region_digest "$human_hand_area")
  drag $first_card_x $hand_y $discard_x $discard_y
  if ! region_changes "$human_hand_area" "$hand" 20; then
    # Past a box that ended the hand a press would close the score sheet.
    answer_box_by_mouse && [ -n "$hand_end_box" ] && return 1
    drag $second_card_x $hand_y $discard_x $discard_y
    if ! region_changes "$human_hand_area" "$hand" 20; then
      [ $took -eq 0 ] && return 1
      shot discard-refused
      fail "a card was taken, but no card of the hand could be discarded"
    fi
  fi
  [ $took -eq 1 ] || return 1
  # The discard's own glide over first.
  sleep 0.2
  snap_table
  [ $held_seen -ge 3 ] || ! held_during_computer_move "$(region_digest "$human_hand_area")" ||
    held_seen=$((held_seen + 1))
  return 0
}

# Ends the program with a signal and waits for it; a second signal may
# arrive during the save, which must not cut a file short, or a SIGKILL,
# which must leave each file old or new.
signal_game() {
  local signal=$1 then_kill=$2
  kill -"$signal" "$game_pid"
  if [ $((RANDOM % 3)) -eq 0 ]; then
    sleep "0.0$((RANDOM % 10))"
    kill -"$signal" "$game_pid" 2>/dev/null
  fi
  if [ "$then_kill" -gt 0 ]; then
    sleep "0.0$then_kill"
    kill -KILL "$game_pid" 2>/dev/null
  fi
  for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    shot "stuck-after-$signal"
    fail "the game did not end within 10 s of SIG$signal"
  fi
  wait "$game_pid"
  local status=$?
  game_pid=
  [ "$then_kill" -gt 0 ] || [ $status -eq 0 ] ||
    fail "the game ended with status $status after SIG$signal: $(cat "$scratch/game.log")"
}

if [ "$mode" = signals ]; then
  copy_game
  # Against Master, whose search a signal may interrupt.
  printf '[Quorla]\nFirstPlay=0\nAlwaysResume=1\n[Preferences]\nDifficultyLevel=3\nMaster=1\n[Statistics]\nUserWins0=3\nComputerWins0=2\n' >"$game/QUORLA.INI"
  signals=(TERM HUP INT)
  killed=0
  for round in $(seq "${KILLS:-4}"); do
    start_game "$game/QUORLA32"
    if [ $killed -eq 1 ]; then
      leftovers=$(find "$game" -name '*.tmp-*')
      [ -z "$leftovers" ] || fail "round $round: temporary files left after a start: $leftovers"
    fi
    moment=$((RANDOM % 4))
    case $moment in
      1) drag $discard_x $discard_y $hand_x $hand_y; drag $stock_x $stock_y $hand_x $hand_y; drag $first_card_x $hand_y $discard_x $discard_y; drag $second_card_x $hand_y $discard_x $discard_y ;;
      2) xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key ctrl+n; sleep 0.3 ;;
      3) sleep "0.$((RANDOM % 10))" ;;
    esac
    signal=${signals[$((RANDOM % 3))]}
    then_kill=0
    [ $((RANDOM % 4)) -eq 0 ] && then_kill=$((1 + RANDOM % 9))
    signal_game "$signal" $then_kill
    killed=$([ $then_kill -gt 0 ] && echo 1 || echo 0)
    grep -q '^UserWins0=3' "$game/QUORLA.INI" && grep -q '^ComputerWins0=2' "$game/QUORLA.INI" ||
      fail "round $round: the statistics were lost: $(cat "$game/QUORLA.INI")"
    [ $killed -eq 1 ] && continue
    grep -q '^CanResume=1' "$game/QUORLA.INI" || fail "round $round (SIG$signal, moment $moment): CanResume is not 1"
    grep -q '^Master=1' "$game/QUORLA.INI" || fail "round $round: Master is no longer chosen"
    piles "$game/RESUME.QLF" >/dev/null || fail "round $round: the resume file does not read back"
    leftovers=$(find "$game" -name '*.tmp-*')
    [ -z "$leftovers" ] || fail "round $round: temporary files left after SIG$signal: $leftovers"
  done
  echo "ended by signals ${KILLS:-4} times; every start resumed a readable game"
elif [ "$mode" = keyboard ]; then
  # Key presses only: pass while the offer lasts, take the stock card, then
  # discard the hand's first card; keys the moment refuses do nothing, and
  # Return also answers the boxes on the way.
  # A tie shows its box and no score sheet: Return is held back while that
  # box is up, so that the end is seen before a key answers it.
  tie_shown() {
    [ "$(xdotool getwindowname "$(program_box)" 2>/dev/null)" = 'Stock Exhausted' ] || return 1
    hand_end_box='Stock Exhausted'
  }
  press_return() { tie_shown && return 1; xdotool key Return; }
  keyboard_turn() {
    xdotool key --delay 30 p Up Left
    press_return || return 0
    xdotool key --delay 30 Down Left Left Left Left Left Left Left Left Left Left Left
    press_return || return 0
    sleep 1.5
    [ $(((turns + 1) % 10)) -ne 0 ] || press_return || return 0
  }
  hand_over_by_keyboard() {
    hand_ended && return 0
    tie_shown || return 1
    xdotool key Return
    hand_over_by_mouse
  }
  seat_master_for_a_hand
  play_until_hand_over keyboard_turn hand_over_by_keyboard "${KEYBOARD_SECONDS:-200}" 1000
  expect_hand_over_saved
  echo "a hand played to its end with the keyboard in $turns turns: $(grep -E '^(last hand|score record)' "$scratch/inspect.txt" | tr '\n' ' ')"
elif [ "$mode" = mouse ]; then
  seat_master_for_a_hand
  play_until_hand_over mouse_turn hand_over_by_mouse "${MOUSE_SECONDS:-240}" 40
  [ $held_seen -gt 0 ] || fail "no card held during the computer's moves was seen drawn ($turns turns)"
  expect_hand_over_saved
  echo "a hand played to its end with the mouse in $turns turns, ended by \"$hand_end_box\", a held card drawn during $held_seen of the computer's moves: $(grep -E '^(last hand|score record)' "$scratch/inspect.txt" | tr '\n' ' ')"
elif [ "$mode" = window ]; then
  # "X,Y WIDTHxHEIGHT" of the main window, once it had time to settle.
  placement() {
    sleep 0.8
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X,$Y ${WIDTH}x$HEIGHT"
  }
  expect_placement() {
    local now
    now=$(placement)
    [ "$now" = "$2" ] || { shot "wrong-$1"; fail "$1: the window is at $now, not $2"; }
  }
  press() { xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key "$@"; }
  copy_game
  printf '[Quorla]\nFirstPlay=0\n' >"$game/QUORLA.INI"
  screen="0,0 $(xdotool getdisplaygeometry | tr ' ' x)"
  start_game "$game/QUORLA32"
  first=$(placement)
  press F11
  expect_placement "full screen" "$screen"
  shot 1-full-screen
  press F11
  expect_placement "after full screen" "$first"
  xdotool windowmove "$window" 40 30 windowsize "$window" 1000 700
  expect_placement "moved and resized" "40,30 1000x700"
  close_game
  grep -q '^WindowState=0' "$game/QUORLA.INI" || fail "the window was not remembered in its normal state"
  start_game "$game/QUORLA32"
  expect_placement "started again" "40,30 1000x700"
  shot 2-restored
  close_game
  # Maximised when it was left (a window manager's maximise, which there
  # is none to ask for here): it starts filling the screen, and full screen
  # returns to it; the normal area is kept throughout.
  sed -i 's/^WindowState=.*/WindowState=1/' "$game/QUORLA.INI"
  start_game "$game/QUORLA32"
  expect_placement "maximised" "$screen"
  shot 3-maximised
  press F11
  expect_placement "full screen from maximised" "$screen"
  press F11
  expect_placement "maximised after full screen" "$screen"
  close_game
  grep -q '^WindowState=1' "$game/QUORLA.INI" && grep -q '^WindowWidth=1000' "$game/QUORLA.INI" &&
    grep -q '^WindowLeft=40' "$game/QUORLA.INI" || fail "the maximised window's normal area was lost: $(grep '^Window' "$game/QUORLA.INI" | tr '\n' ' ')"
  # Large Table leaves the maximised state for the normal area's place.
  start_game "$game/QUORLA32"
  press alt+o sleep 0.4 key l
  now=$(placement)
  [ "${now%% *}" = "40,30" ] || fail "Large Table from maximised: the window is at $now, not at 40,30"
  close_game
  echo "full screen and back, restored at 40,30 1000x700, maximised and back, on the screen $screen"
elif [ "$mode" = second ]; then
  files_digest() { (cd "$game" && sha256sum QUORLA.INI QLPLAY.QLF RESUME.QLF 2>/dev/null); }
  # The second copy's box, once it shows; the copy must show no table.
  second_copy_box() {
    local id
    for _ in $(seq 100); do
      id=$(xdotool search --all --onlyvisible --pid "$second_pid" --name 'in Use' 2>/dev/null | head -n 1)
      [ -n "$id" ] && break
      kill -0 "$second_pid" 2>/dev/null || fail "the second copy ended without a word: $(cat "$scratch/second.log")"
      sleep 0.1
    done
    [ -n "$id" ] || fail "the second copy showed no box"
    shot "second-copy-$order"
    [ -z "$(xdotool search --all --onlyvisible --pid "$second_pid" --name '^Quorla' 2>/dev/null)" ] ||
      fail "the second copy shows a table"
    box=$id
  }
  answer_second_copy() {
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
    for _ in $(seq 100); do
      kill -0 "$second_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$second_pid" 2>/dev/null && fail "the second copy did not leave"
    wait "$second_pid" || fail "the second copy ended with status $?: $(cat "$scratch/second.log")"
  }
  copy_game
  printf '[Quorla]\nFirstPlay=0\n[Statistics]\nUserWins0=3\nComputerWins0=2\n' >"$game/QUORLA.INI"
  for order in second-leaves-first first-closes-first; do
    start_game "$game/QUORLA32"
    drag $discard_x $discard_y $hand_x $hand_y
    drag $stock_x $stock_y $hand_x $hand_y
    drag $first_card_x $hand_y $discard_x $discard_y
    before=$(files_digest)
    "$game/QUORLA32" >"$scratch/second.log" 2>&1 &
    second_pid=$!
    second_copy_box
    shot "second-copy-$order"
    if [ $order = second-leaves-first ]; then
      answer_second_copy
      [ "$(files_digest)" = "$before" ] || fail "$order: the second copy wrote the configuration's files"
      close_game
    else
      close_game
      after=$(files_digest)
      answer_second_copy
      [ "$(files_digest)" = "$after" ] || fail "$order: the second copy wrote after the first had closed"
    fi
    piles "$game/RESUME.QLF" >/dev/null || fail "$order: the first copy's game does not read back"
    grep -q '^CanResume=1' "$game/QUORLA.INI" || fail "$order: CanResume is not 1"
    grep -q '^UserWins0=3' "$game/QUORLA.INI" || fail "$order: the statistics were lost"
    [ -z "$(find "$game" -name '*.damaged' -o -name '*.stale')" ] || fail "$order: files were set aside"
  done
  echo "a second copy on the configuration in use showed its box and left, in both close orders"
elif [ "$mode" = play ]; then
  copy_game
  # A player who has played before: the introduction is not shown again, the
  # statistics hold games, and the learned networks differ from the defaults
  # (the first two levels' blocks swapped).
  printf '[Quorla]\nFirstPlay=0\n[Statistics]\nUserWins0=3\nComputerWins0=2\nUserPoints0=412\n' >"$game/QUORLA.INI"
  { tail -c +16025 "$build/QLDEFLT.QLF" | head -c 16024; head -c 16024 "$build/QLDEFLT.QLF"
    tail -c +32049 "$build/QLDEFLT.QLF"; } >"$game/QLPLAY.QLF"
  cp "$game/QLPLAY.QLF" "$scratch/learned.qlf"
  cmp -s "$game/QLPLAY.QLF" "$build/QLDEFLT.QLF" && fail "the seeded networks equal the defaults"

  start_game "$game/QUORLA32"
  shot 1-dealt
  # Whoever deals, the person moves within two rounds: take the upcard or a
  # stock card (whichever the deal allows), then discard the hand's first or
  # second card. Presses the rules refuse do nothing.
  for _ in 1 2; do
    drag $discard_x $discard_y $hand_x $hand_y
    drag $stock_x $stock_y $hand_x $hand_y
    drag $first_card_x $hand_y $discard_x $discard_y
    drag $second_card_x $hand_y $discard_x $discard_y
    sleep 1
  done
  shot 2-played
  close_game
  [ -f "$game/RESUME.QLF" ] || fail "no resume file after closing"
  grep -q '^CanResume=1' "$game/QUORLA.INI" || fail "CanResume is not 1 after closing"
  grep -q '^OKResumeVersn=121' "$game/QUORLA.INI" || fail "OKResumeVersn is not 121 after closing"
  piles "$game/RESUME.QLF" >"$scratch/piles-1.txt" || fail "the resume file does not read back"
  [ "$(hand_pixels_changed 1-dealt 2-played)" -gt 0 ] || fail "the person's hand did not change: no move was played"
  cmp -s <(unplayed_levels "$game/QLPLAY.QLF") <(unplayed_levels "$scratch/learned.qlf") ||
    fail "the learned networks changed without a hand played"

  # Started again, it resumes the game at once.
  grep -q '^AlwaysResume=' "$game/QUORLA.INI" || fail "the preferences were not saved"
  sed -i 's/^AlwaysResume=.*/AlwaysResume=1/' "$game/QUORLA.INI"
  start_game "$game/QUORLA32"
  shot 3-resumed
  close_game
  piles "$game/RESUME.QLF" >"$scratch/piles-2.txt" || fail "the second resume file does not read back"
  diff "$scratch/piles-1.txt" "$scratch/piles-2.txt" >/dev/null ||
    fail "the game was not resumed: $(diff "$scratch/piles-1.txt" "$scratch/piles-2.txt")"
  grep -q '^UserWins0=3' "$game/QUORLA.INI" && grep -q '^UserPoints0=412' "$game/QUORLA.INI" ||
    fail "the statistics were lost: $(cat "$game/QUORLA.INI")"
  cmp -s <(unplayed_levels "$game/QLPLAY.QLF") <(unplayed_levels "$scratch/learned.qlf") ||
    fail "the learned networks were not kept"
  # The portable folder turned read-only: the files stay, and the person is
  # told where the program keeps them now, once.
  chmod a-w "$game"
  digest=$( (cd "$game" && sha256sum QUORLA.INI QLPLAY.QLF RESUME.QLF) )
  for run in 1 2; do
    rm -f "$shots/dialog-Where-Your-Quorla-Files-Are.png"
    start_game "$game/QUORLA32"
    close_game
    told=$([ -f "$shots/dialog-Where-Your-Quorla-Files-Are.png" ] && echo yes || echo no)
    [ $run = 1 ] && [ $told = no ] && fail "the read-only folder was not explained"
    [ $run = 2 ] && [ $told = yes ] && fail "the read-only folder was explained twice"
  done
  [ "$(cd "$game" && sha256sum QUORLA.INI QLPLAY.QLF RESUME.QLF)" = "$digest" ] ||
    fail "the files in the read-only folder changed"
  chmod u+w "$game"
  echo "played, closed and resumed: $(tr '\n' ' ' <"$scratch/piles-1.txt")"
elif [ "$mode" = wayland ]; then
  # weston's headless backend has no input devices, weston refuses the
  # virtual keyboard protocol that tools such as wtype speak, and xdotool
  # needs an X server; so a module of the test's gives the compositor a
  # keyboard read from a pipe (weston_key_seat.c). The keys then reach the
  # program as a person's do, through the compositor's focus, and the
  # program carries nothing for the test. The module also writes the title
  # of each window given the keyboard, which tells when the table or a box
  # is up, as nothing else can be asked of a Wayland compositor here.
  # Drawn with pixman, so that the compositor releases each buffer and
  # calls for the next frame as one on a screen does.
  mkfifo "$scratch/keys"
  QUORLA_KEY_PIPE=$scratch/keys QUORLA_KEY_FOCUS=$scratch/focus weston --backend=headless-backend.so --use-pixman \
    --socket=quorla-e2e --idle-time=0 --no-config --width=1280 --height=900 --modules="$QUORLA_KEY_SEAT" \
    --log="$scratch/weston.log" >"$scratch/weston.out" 2>&1 &
  weston_pid=$!
  # A run killed outright (ctest's timeout) has no cleanup; weston must
  # not outlive it all the same.
  (while kill -0 $$ 2>/dev/null; do sleep 1; done; kill "$weston_pid" 2>/dev/null) </dev/null >/dev/null 2>&1 &
  watchdog_pid=$!
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/quorla-e2e" ] && grep -q 'key seat: reading' "$scratch/weston.log" 2>/dev/null && break
    kill -0 $weston_pid 2>/dev/null || fail "weston did not start: $(cat "$scratch/weston.log" "$scratch/weston.out")"
    sleep 0.1
  done
  grep -q 'key seat: reading' "$scratch/weston.log" 2>/dev/null || fail "weston did not start with a keyboard"
  # Held open for reading too, so that writing never waits for a reader.
  exec 5<>"$scratch/keys"
  export WAYLAND_DISPLAY=quorla-e2e QT_QPA_PLATFORM=wayland

  # Evdev codes of the keys pressed; "ctrl+q" holds ctrl while q goes down.
  # Keys are held a moment, as a person's are: a menu opened by a key asks
  # the compositor for its grab with that key's serial, and a release
  # already past by then makes the compositor close the menu at once.
  declare -A key_codes=([Escape]=1 [q]=16 [o]=24 [p]=25 [Return]=28 [ctrl]=29 [l]=38 [alt]=56 [Up]=103
    [Left]=105 [Down]=108)
  press() {
    local combo name downs ups
    local -a names
    for combo in "$@"; do
      IFS=+ read -ra names <<<"$combo"
      downs= ups=
      for name in "${names[@]}"; do
        [ -n "${key_codes[$name]:-}" ] || fail "no key code for $name"
        downs+=" +${key_codes[$name]}"
        ups=" -${key_codes[$name]}$ups"
      done
      echo "$downs" >&5
      sleep 0.06
      echo "$ups" >&5
      sleep 0.06
    done
  }
  focused() { tail -n 1 "$scratch/focus" 2>/dev/null; }
  # The window that has the keyboard is the table's once its title is Quorla's.
  table_focused() { case "$(focused)" in Quorla | "Quorla - "*) return 0 ;; esac; return 1; }
  start_on_wayland() {
    "$game/QUORLA32" >"$scratch/game-$1.out" 2>"$scratch/game-$1.err" &
    game_pid=$!
    for _ in $(seq 150); do
      table_focused && break
      kill -0 "$game_pid" 2>/dev/null || fail "start $1: the game stopped at start-up: $(cat "$scratch/game-$1.err")"
      sleep 0.1
    done
    table_focused || fail "start $1: the table did not get the keyboard within 15 s (it went to \"$(focused)\")"
    # A box of the start would take the keyboard from the table.
    sleep 1.5
    table_focused || fail "start $1: \"$(focused)\" came up at the start"
  }
  # Waits for the game to end by itself, saved.
  wait_for_end() {
    for _ in $(seq 100); do
      kill -0 "$game_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end within 10 s of $1"
    wait "$game_pid"
    local status=$?
    game_pid=
    [ $status -eq 0 ] || fail "the game ended with status $status after $1: $(cat "$scratch"/game-*.err)"
  }
  human_hand() { grep -E '^human +\(' "$1"; }

  copy_game
  # Remembered by an X11 run: a place Wayland cannot use or tell, and a size it can.
  printf '[Quorla]\nFirstPlay=0\nWindowLeft=1500\nWindowTop=30\nWindowWidth=1000\nWindowHeight=700\nWindowState=0\nWindowRatio=1000\n[Preferences]\nAlwaysResume=1\n[Play]\nGinVariation=1\n' >"$game/QUORLA.INI"
  start_on_wayland 1
  press ctrl+q
  wait_for_end Ctrl+Q
  grep -q '^CanResume=1' "$game/QUORLA.INI" || fail "CanResume is not 1 after the first close"
  piles "$game/RESUME.QLF" >"$scratch/piles-0.txt" || fail "the first resume file does not read back"

  # Large Table from the menu grows the window, a size to remember.
  # Whoever deals, the person moves within two rounds (three for a slow
  # build): pass while the upcard is offered, take the stock card, discard
  # the hand's first card; keys the moment refuses do nothing. A knock or
  # gin of the computer's meanwhile ends the hand: its box is answered.
  start_on_wayland 2
  press alt+o
  sleep 0.5
  press l
  sleep 1
  for _ in 1 2 3; do
    press p Up Left Return Down Left Left Left Left Left Left Left Left Left Left Left Return
    sleep 3
    table_focused && continue
    box=$(focused)
    for _ in 1 2 3; do
      press Return
      sleep 1
      table_focused && break
    done
    table_focused || fail "\"$(focused)\" stays up after \"$box\" came during the move"
    break
  done
  press ctrl+q
  wait_for_end Ctrl+Q
  piles "$game/RESUME.QLF" >"$scratch/piles-1.txt" || fail "the resume file after the move does not read back"
  grep -q '^LargeTable=1' "$game/QUORLA.INI" || fail "Large Table was not chosen from the menu"
  grown=$(grep -E '^Window(Width|Height)=' "$game/QUORLA.INI" | sort | tr '\n' ' ')
  [ "$(grep '^WindowWidth=' "$game/QUORLA.INI")" != WindowWidth=1000 ] || fail "Large Table left the window as it was: $grown"
  [ "$(human_hand "$scratch/piles-0.txt")" != "$(human_hand "$scratch/piles-1.txt")" ] ||
    fail "the person's hand did not change: the keys made no move ($(human_hand "$scratch/piles-1.txt"))"

  start_on_wayland 3
  kill -TERM "$game_pid"
  wait_for_end SIGTERM
  piles "$game/RESUME.QLF" >"$scratch/piles-2.txt" || fail "the resume file after SIGTERM does not read back"
  diff "$scratch/piles-1.txt" "$scratch/piles-2.txt" >/dev/null ||
    fail "the game was not resumed: $(diff "$scratch/piles-1.txt" "$scratch/piles-2.txt")"

  # The grown size came back at the last start, the place stayed the X11 one.
  [ "$(grep -E '^Window(Width|Height)=' "$game/QUORLA.INI" | sort | tr '\n' ' ')" = "$grown" ] ||
    fail "the window's size was not kept: $(grep -E '^Window(Width|Height)=' "$game/QUORLA.INI" | tr '\n' ' '), not $grown"
  placement=$(grep -E '^Window(Left|Top|State)=' "$game/QUORLA.INI" | sort | tr '\n' ' ')
  [ "$placement" = "WindowLeft=1500 WindowState=0 WindowTop=30 " ] || fail "the window's place or state changed: $placement"
  for run in 1 2 3; do
    [ -s "$scratch/game-$run.err" ] && fail "start $run wrote to stderr: $(cat "$scratch/game-$run.err")"
  done
  echo "moved by keyboard under Wayland, closed, resumed and ended by SIGTERM, kept at $grown: $(tr '\n' ' ' <"$scratch/piles-2.txt")"
else
  prefix=$scratch/prefix
  cmake --install "$build" --prefix "$prefix" --component game >"$scratch/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$scratch/install.log")"
  installation=$prefix/lib/games/quorla
  for file in games/quorla lib/games/quorla/QUORLA32 lib/games/quorla/QLDEFLT.QLF lib/games/quorla/BACKIMG.QLF \
      share/applications/org.quorla.Quorla.desktop share/metainfo/org.quorla.Quorla.metainfo.xml \
      share/icons/hicolor/scalable/apps/org.quorla.Quorla.svg share/doc/quorla/copyright \
      share/doc/quorla/changelog.gz share/man/man6/quorla.6.gz; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
  done
  ldd "$installation/QUORLA32" | grep -q "libneural.so.* => $installation/" ||
    fail "the installed program does not use its own neural library: $(ldd "$installation/QUORLA32" | grep neural)"
  grep -qx "Exec=$prefix/games/quorla" "$prefix/share/applications/org.quorla.Quorla.desktop" ||
    fail "the desktop entry does not start the installed launcher: $(grep '^Exec=' "$prefix/share/applications/org.quorla.Quorla.desktop")"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.quorla.Quorla.desktop" || fail "desktop entry"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.quorla.Quorla.metainfo.xml" >/dev/null ||
      fail "AppStream metadata"
  fi
  chmod -R a-w "$prefix"
  touch "$scratch/before-start"

  start_game "$prefix/games/quorla"
  shot 1-installed
  drag $stock_x $stock_y $hand_x $hand_y
  close_game
  data=$XDG_DATA_HOME/quorla
  for file in QUORLA.INI QLPLAY.QLF; do
    [ -f "$data/$file" ] || fail "$file is not in the user's data directory"
  done
  cmp -s <(unplayed_levels "$data/QLPLAY.QLF") <(unplayed_levels "$installation/QLDEFLT.QLF") ||
    fail "the learned networks did not start from the defaults"
  [ -w "$data/QLPLAY.QLF" ] && [ -n "$(find "$data/QLPLAY.QLF" -perm -u+w)" ] ||
    fail "the learned networks cannot be written"
  written=$(find "$prefix" -newer "$scratch/before-start")
  [ -z "$written" ] || fail "the program wrote into the installation: $written"
  echo "installed read-only; the player's files are in $data: $(ls "$data" | tr '\n' ' ')"
fi
