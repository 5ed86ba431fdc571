#!/usr/bin/env bash
# Times every batch listing of pbzetrolin on generated programs, side by side with
# ripgrep over the same files, and the window's start-up and "All Proc-Calls" under Xvfb.
# Prints figures only; nothing here passes or fails on speed.
set -u

usage() {
  cat <<'EOF'
usage: bench/run.sh [--scales "1 10"] [--runs N] [--quick] [--timeout SECONDS]
                    [--bin PATH] [--seed N]

  --scales LIST   corpus scales to run (default "1 10"); scale 1 is about 130 files,
                  120,000 lines, 4.4 MB; each corpus is generated into
                  bench/corpus-<scale>/ the first time
  --runs N        timed runs per command (default 5; a command that needs 10 s or more
                  runs at most 3 times, one that needs a minute or more once)
  --quick         scale 1 only, 3 runs
  --timeout S     limit for each single run in seconds (default 300); "timeout" is printed
                  instead of a time
  --bin PATH      the program to measure (default build/pbzetrolin, or $PBZ_BIN)
  --seed N        corpus seed (default 1; other seeds go to bench/corpus-<scale>-s<N>/)

Columns: rows = lines printed (for rg -c the sum of the counts), time = median wall
seconds, peak = largest resident memory in MB (10^6 bytes), x = pbzetrolin time / reference time,
goal = the aim for that ratio (reported, never enforced).
EOF
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
bin=${PBZ_BIN:-$root/build/pbzetrolin}
scales="1 10"
runs=5
timeout=300
seed=1

while [ $# -gt 0 ]; do
  case $1 in
    --scales) [ $# -ge 2 ] || { echo "run.sh: --scales needs a list" >&2; exit 2; }
              scales=$2; shift 2 ;;
    --runs) [ $# -ge 2 ] || { echo "run.sh: --runs needs a number" >&2; exit 2; }
            runs=$2; shift 2 ;;
    --quick) scales=1; runs=3; shift ;;
    --timeout) [ $# -ge 2 ] || { echo "run.sh: --timeout needs seconds" >&2; exit 2; }
               timeout=$2; shift 2 ;;
    --bin) [ $# -ge 2 ] || { echo "run.sh: --bin needs a path" >&2; exit 2; }
           bin=$2; shift 2 ;;
    --seed) [ $# -ge 2 ] || { echo "run.sh: --seed needs a number" >&2; exit 2; }
            seed=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "run.sh: unknown option '$1'" >&2; usage >&2; exit 2 ;;
  esac
done

is_count() { [[ $1 =~ ^[1-9][0-9]*$ ]]; }
is_count "$runs" || { echo "run.sh: --runs must be a positive whole number" >&2; exit 2; }
is_count "$seed" || [ "$seed" = 0 ] || { echo "run.sh: --seed must be a whole number" >&2; exit 2; }
[[ $timeout =~ ^[0-9]+(\.[0-9]+)?$ ]] && [ "$timeout" != 0 ] ||
  { echo "run.sh: --timeout must be a positive number of seconds" >&2; exit 2; }
for s in $scales; do
  [[ $s =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "run.sh: bad scale '$s'" >&2; exit 2; }
done
[ -n "${scales// /}" ] || { echo "run.sh: --scales is empty" >&2; exit 2; }

command -v python3 >/dev/null || { echo "run.sh: python3 is needed" >&2; exit 2; }
case $bin in /*) ;; *) bin=$PWD/$bin ;; esac
if [ ! -x "$bin" ] || [ -d "$bin" ]; then
  echo "run.sh: no program at $bin; build it first" \
       "(cmake -S . -B build && cmake --build build -j2) or name it with --bin" >&2
  exit 2
fi

have_rg=1
if ! command -v rg >/dev/null; then
  have_rg=0
  echo "NOTE: rg (ripgrep) is missing, so the reference columns show n/a." \
       "Install the ripgrep package to compare." >&2
fi
unset RIPGREP_CONFIG_PATH

window_note=""
if ! command -v xvfb-run >/dev/null; then
  window_note="xvfb-run is missing (package xvfb)"
elif ! grep -q -a PBZ_BENCH "$bin"; then
  window_note="this pbzetrolin has no PBZ_BENCH hook"
fi

tmphome=$(mktemp -d "${TMPDIR:-/tmp}/pbz-bench-home.XXXXXX")
trap 'rm -rf "$tmphome"' EXIT

measure() { python3 "$here/measure.py" --timeout "$timeout" --runs "$runs" "$@"; }

# Results: one "status median peak rows samples" line per key.
declare -A result

# cell KEY FIELD: a printable field of a result (status replaces the time when not ok).
fmt_time() {
  local r=${result[$1]:-n/a}
  set -- $r
  if [ "$1" = ok ]; then printf '%.3f' "$2"; else printf '%s' "$1"; fi
}
fmt_peak() {
  local r=${result[$1]:-n/a}
  set -- $r
  if [ "$1" = ok ] && [ "$3" != - ]; then awk -v k="$3" 'BEGIN{printf "%.1f", k*1024/1e6}'
  else printf -- '-'; fi
}
fmt_rows() {
  local r=${result[$1]:-n/a}
  set -- $r
  if [ "$1" = ok ]; then printf '%s' "$4"; else printf -- '-'; fi
}
ratio() {
  local a=${result[$1]:-n/a} b=${result[$2]:-n/a}
  set -- $a
  local sa=$1 ta=${2:-}
  set -- $b
  if [ "$sa" = ok ] && [ "$1" = ok ]; then
    awk -v a="$ta" -v b="$2" 'BEGIN{ if (b > 0) printf "%.1f", a/b; else printf "-" }'
  else printf -- '-'; fi
}
peak_kb() {
  local r=${result[$1]:-n/a}
  set -- $r
  if [ "$1" = ok ] && [ "$3" != - ]; then echo "$3"; else echo 0; fi
}
secs() {
  local r=${result[$1]:-n/a}
  set -- $r
  if [ "$1" = ok ]; then echo "$2"; fi
}

for scale in $scales; do
  name_part=$scale
  [ "$seed" = 1 ] || name_part="$scale-s$seed"
  corpus=$here/corpus-$name_part
  if [ ! -f "$corpus/SUMMARY" ]; then
    if [ -e "$corpus" ] && [ -n "$(ls -A "$corpus" 2>/dev/null)" ]; then
      echo "run.sh: $corpus exists without SUMMARY (not a finished corpus); remove it" >&2
      exit 2
    fi
    echo "Generating $corpus ..." >&2
    python3 "$here/gen_corpus.py" --scale "$scale" --seed "$seed" --out "$corpus" >&2 || exit 1
  fi
  declare -A info=()
  while IFS='=' read -r k v; do info[$k]=$v; done <"$corpus/SUMMARY"
  NAME=${info[name]}
  TERM=${info[term]}
  main=$corpus/main.pb
  mapfile -t files < <(cd "$corpus" && find . -type f \( -name '*.pb' -o -name '*.pbi' \) | LC_ALL=C sort)

  cd "$corpus" || exit 1
  echo "Scale $scale: measuring ..." >&2
  k="$scale"
  result[$k.procedures]=$(measure -- "$bin" --list procedures "$main")
  result[$k.calls]=$(measure -- "$bin" --list calls "$NAME" "$main")
  result[$k.terms]=$(measure -- "$bin" --list terms "$TERM" "$main")
  result[$k.allcalls]=$(measure -- "$bin" --list all-calls "$main")
  if [ $have_rg = 1 ]; then
    result[$k.rg.procedures]=$(measure --ok-status 0,1 -- rg -n '^[ \t]*Procedure' "${files[@]}")
    result[$k.rg.calls]=$(measure --ok-status 0,1 -- rg -n -i -F "$NAME" "${files[@]}")
    result[$k.rg.terms]=$(measure --ok-status 0,1 -- rg -n -w -i "$TERM" "${files[@]}")
    result[$k.rg.allcalls]=$(measure --ok-status 0,1 --rows counts -- rg -c -F -f NAMES "${files[@]}")
  fi
  if [ -z "$window_note" ]; then
    wruns=$runs
    for mode in startup allcalls; do
      result[$k.window.$mode]=$(PBZ_BENCH=$mode xvfb-run -a -s "-screen 0 1280x1024x24" \
        env GTK_MODULES= GTK2_RC_FILES=/dev/null HOME="$tmphome" NO_AT_BRIDGE=1 \
        python3 "$here/measure.py" --reported --timeout "$timeout" --runs "$wruns" -- \
        "$bin" "$main" 2>/dev/null || echo "n/a - - - 0")
    done
  fi
  cd "$root" || exit 1

  # The table.
  printf '\nScale %s: %s files, %s lines, %.2f MB, %s procedures, %s call lines\n' \
    "$scale" "${info[files]}" "${info[lines]}" "$(awk -v b="${info[bytes]}" 'BEGIN{print b/1e6}')" \
    "${info[procedures]}" "${info[call_lines]}"
  printf 'NAME=%s (%s calls)  TERM=%s (%s uses)  runs=%s  program=%s\n\n' \
    "$NAME" "${info[name_calls]}" "$TERM" "${info[term_uses]}" "$runs" "$bin"
  line() {
    printf '%-18s %8s %9s %8s | %-30s %8s %9s %8s | %6s %6s\n' "$@"
  }
  line "pbzetrolin" "rows" "time s" "peak MB" "reference" "rows" "time s" "peak MB" "x" "goal"
  line "------------------" "--------" "---------" "--------" "------------------------------" \
    "--------" "---------" "--------" "------" "------"
  ref_row() { # label key refkey reflabel goal
    local rk=$3
    if [ $have_rg = 0 ]; then result[$rk]="n/a - - - 0"; fi
    line "$1" "$(fmt_rows "$2")" "$(fmt_time "$2")" "$(fmt_peak "$2")" "$4" \
      "$(fmt_rows "$rk")" "$(fmt_time "$rk")" "$(fmt_peak "$rk")" "$(ratio "$2" "$rk")" "$5"
  }
  ref_row "procedures" "$k.procedures" "$k.rg.procedures" "rg -n '^[ \\t]*Procedure'" "<=3"
  ref_row "calls NAME" "$k.calls" "$k.rg.calls" "rg -n -i -F NAME" "<=3"
  ref_row "terms TERM" "$k.terms" "$k.rg.terms" "rg -n -w -i TERM" "<=3"
  ref_row "all-calls" "$k.allcalls" "$k.rg.allcalls" "rg -c -F -f NAMES (floor)" "<=5"
  [ $have_rg = 1 ] || echo "  (reference: n/a, rg (ripgrep) is missing; install the ripgrep package)"
  if [ -n "$window_note" ]; then
    line "window startup" "-" "n/a" "-" "batch procedures" "-" "$(fmt_time "$k.procedures")" \
      "-" "-" "<=2"
    line "window all-calls" "-" "n/a" "-" "batch all-calls" "-" "$(fmt_time "$k.allcalls")" \
      "-" "-" "<=2"
    echo "  (window: n/a, $window_note)"
  else
    line "window startup" "-" "$(fmt_time "$k.window.startup")" "$(fmt_peak "$k.window.startup")" \
      "batch procedures" "-" "$(fmt_time "$k.procedures")" "$(fmt_peak "$k.procedures")" \
      "$(ratio "$k.window.startup" "$k.procedures")" "<=2"
    line "window all-calls" "-" "$(fmt_time "$k.window.allcalls")" \
      "$(fmt_peak "$k.window.allcalls")" "batch all-calls" "-" "$(fmt_time "$k.allcalls")" \
      "$(fmt_peak "$k.allcalls")" "$(ratio "$k.window.allcalls" "$k.allcalls")" "<=2"
  fi
  maxpeak=0
  for key in procedures calls terms allcalls; do
    p=$(peak_kb "$k.$key")
    [ "$p" -gt "$maxpeak" ] && maxpeak=$p
  done
  awk -v b="${info[bytes]}" -v p="$maxpeak" 'BEGIN{
    printf "\nBatch memory: largest peak %.1f MB; aim at most 2 x %.2f MB + 30 MB = %.1f MB\n",
           p*1024/1e6, b/1e6, 2*b/1e6 + 30 }'
done

# All-calls growth from scale 1 to 10 (aim: at most 12 times).
a=$(secs "1.allcalls")
b=$(secs "10.allcalls")
if [ -n "$a" ] && [ -n "$b" ]; then
  awk -v a="$a" -v b="$b" 'BEGIN{ if (a > 0) printf "\nall-calls time, scale 10 / scale 1: %.1f (aim <= 12)\n", b/a }'
fi
