#!/usr/bin/env bash
# Measures whether learning by play keeps the top level's strength: the
# level as shipped, then after learning from a match against `simple`, each
# measured without learning on a seed the learning never played, against
# `simple` and against the shipped networks in the human seat. Writes the
# learning curve as an SVG picture next to the learned networks.
set -u

usage() {
  cat <<'EOF'
usage: scripts/strength.sh [--networks FILE] [--learn-games N] [--measure-games M]
                           [--level L] [--out DIR] [--build DIR]

Plays, with quorla-lab arena:
  1. the level as shipped against simple, M games, seed 90001, no learning;
  2. N games against simple with --learn (seed 61207), printing the win rate
     per tenth of the match and drawing it to DIR/learning-curve.svg; the
     learned networks are kept as DIR/learned.QLF;
  3. the learned networks against simple, M games, seed 90001, no learning;
  4. the shipped networks against themselves in the human seat, M games,
     seed 90001: the mirror match, for comparison with
  5. the learned networks against the shipped ones in the human seat,
     M games, seed 90001.
Then prints the table of the five results with their 95% intervals.

FILE   network data file (default: QLDEFLT.QLF of the build directory)
N      1..1000000 games of learning (default 5000)
M      1..1000000 games per measurement (default 20000)
L      internal level 0..3 (shown 1..4, default 3)
DIR    where the curve and the learned networks go (default: BUILD/strength)
BUILD  the build directory with quorla-lab (default: build)
EOF
}

fail() {
  echo "strength: $1 (see scripts/strength.sh --help)" >&2
  exit 2
}

is_count() { [[ "$1" =~ ^[1-9][0-9]{0,6}$ ]] && [ "$1" -le 1000000 ]; }

networks="" learn_games=5000 measure_games=20000 level=3 out="" build=build
while [ $# -gt 0 ]; do
  case "$1" in
    --help | -h) usage; exit 0 ;;
    --networks | --learn-games | --measure-games | --level | --out | --build)
      [ $# -ge 2 ] || fail "$1 needs a value"
      case "$1" in
        --networks) networks=$2 ;;
        --learn-games) learn_games=$2 ;;
        --measure-games) measure_games=$2 ;;
        --level) level=$2 ;;
        --out) out=$2 ;;
        --build) build=$2 ;;
      esac
      shift 2 ;;
    *) fail "unknown argument '$1'" ;;
  esac
done

lab="$build/quorla-lab"
[ -x "$lab" ] || fail "$lab is not built"
[ -n "$networks" ] || networks="$build/QLDEFLT.QLF"
[ -r "$networks" ] || fail "cannot read network data file '$networks'"
is_count "$learn_games" || fail "--learn-games must be a whole number from 1 to 1000000"
is_count "$measure_games" || fail "--measure-games must be a whole number from 1 to 1000000"
[[ "$level" =~ ^[0-3]$ ]] || fail "--level must be 0, 1, 2 or 3"
[ -n "$out" ] || out="$build/strength"
mkdir -p "$out" || fail "cannot create '$out'"

learned="$out/learned.QLF"
curve="$out/learning-curve.svg"
shipped="net:$level:$networks"
slice=$(( learn_games >= 10 ? learn_games / 10 : 1 ))

# The computer seat's "won (share, interval)" from an arena report.
computer_share() { awk '/^games won \(95%/ { sub(/.*\) +/, ""); print }' "$1"; }

run_step() {
  local step=$1 title=$2 report=$3
  shift 3
  echo "step $step of 5: $title" >&2
  "$lab" arena "$@" >"$report" || fail "quorla-lab arena failed in step $step"
}

run_step 1 "shipped level against simple, $measure_games games" "$out/before-simple.txt" \
  simple "$shipped" --games "$measure_games" --seed 90001
run_step 2 "learning against simple, $learn_games games" "$out/learning.txt" \
  simple "$shipped" --games "$learn_games" --seed 61207 --learn --curve "$slice" --curve-svg "$curve" \
  --save-networks "$learned"
grep -E '^games [0-9]' "$out/learning.txt" >&2
run_step 3 "learned level against simple, $measure_games games" "$out/after-simple.txt" \
  simple "net:$level:$learned" --games "$measure_games" --seed 90001
run_step 4 "shipped level against itself, $measure_games games" "$out/before-shipped.txt" \
  "$shipped" "$shipped" --games "$measure_games" --seed 90001
run_step 5 "learned level against the shipped one, $measure_games games" "$out/after-shipped.txt" \
  "$shipped" "net:$level:$learned" --games "$measure_games" --seed 90001

echo
echo "shown level $((level + 1)), games won by the computer seat (share, 95% interval):"
printf '  %-44s %s\n' "before learning, against simple:" "$(computer_share "$out/before-simple.txt")"
printf '  %-44s %s\n' "while learning ($learn_games games):" "$(computer_share "$out/learning.txt")"
printf '  %-44s %s\n' "after learning, against simple:" "$(computer_share "$out/after-simple.txt")"
printf '  %-44s %s\n' "before learning, against the shipped level:" "$(computer_share "$out/before-shipped.txt")"
printf '  %-44s %s\n' "after learning, against the shipped level:" "$(computer_share "$out/after-shipped.txt")"
echo "learning curve: $curve; learned networks: $learned"
