#!/usr/bin/env bash
# Counts the instructions of one batch listing under callgrind: a figure that, unlike
# wall time, does not move with the machine's load, for comparing two builds.
#
#   bench/callgrind.sh [--bin PATH] [--scale S] LISTING [WORD]
#
# LISTING is procedures, calls, terms or all-calls; calls and terms take WORD, by default
# the NAME or TERM that the corpus generator chose.  The profile is kept in
# bench/out/callgrind.<listing>.<scale>.out for callgrind_annotate.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
bin=${PBZ_BIN:-$root/build/pbzetrolin}
scale=1

usage() { sed -n '5,9p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
  case $1 in
    --bin) [ $# -ge 2 ] || { echo "callgrind.sh: --bin needs a path" >&2; exit 2; }
           bin=$2; shift 2 ;;
    --scale) [ $# -ge 2 ] || { echo "callgrind.sh: --scale needs a number" >&2; exit 2; }
             scale=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    -*) echo "callgrind.sh: unknown option '$1'" >&2; usage >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { usage >&2; exit 2; }
listing=$1
word=${2:-}
[[ $scale =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "callgrind.sh: bad scale '$scale'" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "callgrind.sh: valgrind is missing" >&2; exit 2; }
case $bin in /*) ;; *) bin=$PWD/$bin ;; esac
[ -x "$bin" ] && [ ! -d "$bin" ] || { echo "callgrind.sh: no program at $bin" >&2; exit 2; }

corpus=$here/corpus-$scale
if [ ! -f "$corpus/SUMMARY" ]; then
  if [ -e "$corpus" ] && [ -n "$(ls -A "$corpus" 2>/dev/null)" ]; then
    echo "callgrind.sh: $corpus exists without SUMMARY; remove it" >&2
    exit 2
  fi
  python3 "$here/gen_corpus.py" --scale "$scale" --out "$corpus" >&2 || exit 1
fi
summary_value() { sed -n "s/^$1=//p" "$corpus/SUMMARY"; }

case $listing in
  procedures|all-calls) args=(--list "$listing") ;;
  calls) args=(--list calls "${word:-$(summary_value name)}") ;;
  terms) args=(--list terms "${word:-$(summary_value term)}") ;;
  *) echo "callgrind.sh: unknown listing '$listing'" >&2; exit 2 ;;
esac

mkdir -p "$here/out"
out=$here/out/callgrind.$listing.$scale.out
log=$(mktemp "${TMPDIR:-/tmp}/pbz-callgrind.XXXXXX")
trap 'rm -f "$log"' EXIT
(cd "$corpus" && valgrind --tool=callgrind --callgrind-out-file="$out" --log-file="$log" \
  "$bin" "${args[@]}" "$corpus/main.pb" >/dev/null)
status=$?
ir=$(sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
if [ $status -ne 0 ] || [ -z "$ir" ]; then
  echo "callgrind.sh: the run failed (status $status):" >&2
  cat "$log" >&2
  exit 1
fi
printf '%s (scale %s): %s instructions\n' "${args[*]:1}" "$scale" "$ir"
echo "profile: $out"
