#!/bin/bash
# Hostile inputs: each must end promptly with a defined result (exit status 0
# or 1, never a signal or a timeout). Prints the time and peak memory of every
# run as a table.  Usage: hostile.sh PROGRAM [--big]
#   --big adds the slow-to-generate cases (100,000 included files, a 50 MB line)
set -u
prog=$(readlink -f "$1")
big=${2:-}
limit=${PBZ_HOSTILE_TIMEOUT:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
printf '%-34s %-10s %8s %9s %s\n' case listing seconds peak_MB status

run() {  # run CASE LISTING ARGS...
  local name=$1 listing=$2
  shift 2
  local t0 t1 status peak
  t0=$(date +%s.%N)
  /usr/bin/time -f %M -o "$work/.mem" timeout "$limit" "$prog" "$@" > "$work/.out" 2> "$work/.err"
  status=$?
  t1=$(date +%s.%N)
  peak=$(tail -1 "$work/.mem" 2>/dev/null)
  [[ $peak =~ ^[0-9]+$ ]] || peak=0
  printf '%-34s %-10s %8.2f %9.1f %s\n' "$name" "$listing" "$(echo "$t1 - $t0" | bc)" \
    "$(echo "scale=1; $peak / 1024" | bc)" "$status"
  if [ "$status" != 0 ] && [ "$status" != 1 ]; then
    echo "  FAILED: $name $listing ended with status $status"; head -5 "$work/.err"; fail=1
  fi
}

every_listing() {  # every_listing CASE MAIN [NAME]
  local name=$1 main=$2 word=${3:-Foo}
  run "$name" procedures --list procedures "$main"
  run "$name" calls --list calls "$word" "$main"
  run "$name" terms --list terms "$word" "$main"
  run "$name" all-calls --list all-calls "$main"
  run "$name" declares --list declares "$main"
}

mkcase() { rm -rf "$work/c"; mkdir -p "$work/c"; cd "$work/c" || exit 1; }

# Deterministic pseudo-random bytes without extra tools.
bytes() { head -c "$1" /dev/zero | openssl enc -aes-128-ctr -K 0123456789abcdef0123456789abcdef -iv 0 -nosalt 2>/dev/null || head -c "$1" /dev/urandom; }

mkcase; bytes 2000000 > main.pb
every_listing "binary main file" main.pb

mkcase; printf 'XIncludeFile "bin.pbi"\nProcedure Foo()\nEndProcedure\nFoo()\n' > main.pb; bytes 2000000 > bin.pbi
every_listing "binary include" main.pb

mkcase; printf 'Procedure Foo(a)\0 x = Foo(1)\0EndProcedure\0Foo(\0 2)\n' > main.pb
every_listing "NUL bytes inside lines" main.pb

mkcase; printf '\xEF\xBB\xBFProcedure Gr\xc3\xbc\xc3\x9fe()\nProcedure Gr\xfc\xdfe()\n x = Gr\xfc\xdfe() \xff\xfe\xa4\n' > main.pb
every_listing "invalid UTF-8 and Latin-9 mixed" main.pb "Gr\xfc\xdfe"

mkcase; mkfifo fifo.pbi; mkdir folder.pbi; ln -s loop1.pbi loop2.pbi; ln -s loop2.pbi loop1.pbi
printf 'XIncludeFile "/dev/zero"\nXIncludeFile "fifo.pbi"\nXIncludeFile "folder.pbi"\nXIncludeFile "loop1.pbi"\nProcedure Foo()\nEndProcedure\n' > main.pb
every_listing "/dev/zero, FIFO, folder, symlink loop" main.pb

mkcase; mkdir dir; printf 'IncludeFile "main.pb"\nIncludeFile "a.pbi"\nProcedure Foo()\nEndProcedure\n' > main.pb
printf 'IncludeFile "b.pbi"\nIncludeFile "./a.pbi"\n' > a.pbi; printf 'IncludeFile "../c/main.pb"\nIncludeFile "a.pbi"\n' > b.pbi; ln -s . c
every_listing "include cycles" main.pb

mkcase
for i in $(seq 0 29); do printf 'IncludeFile "f%d.pbi"\nIncludeFile "f%d.pbi"\nProcedure P%d()\n  Foo()\nEndProcedure\n' $((i+1)) $((i+1)) "$i" > "f$i.pbi"; done
printf 'Procedure Foo()\nEndProcedure\n' > f30.pbi; cp f0.pbi main.pb
every_listing "each includes the next twice, 30 deep" main.pb

mkcase
for i in $(seq 0 9999); do printf 'XIncludeFile "n%d.pbi"\nx%d = Foo(%d)\n' $((i+1)) "$i" "$i" > "n$i.pbi"; done
printf 'Procedure Foo(a)\nEndProcedure\n' > n10000.pbi; cp n0.pbi main.pb
every_listing "10,000 nested includes" main.pb

mkcase
{ printf 'x = "'; head -c 1000000 /dev/zero | tr '\0' '"' ; printf '" ( Foo ( ; ) "\n'; } > q.txt
{ head -c 500000 /dev/zero | tr '\0' '('; head -c 500000 /dev/zero | tr '\0' '"'; printf ' Foo(1) ; x\n'; } >> q.txt
{ printf 'Procedure Foo()\nEndProcedure\n'; cat q.txt; } > main.pb
every_listing "1 MB lines of quotes and parentheses" main.pb

mkcase; long=$(head -c 10000 /dev/zero | tr '\0' 'N')
printf 'Procedure %s(a)\nEndProcedure\nx = %s(1)\n' "$long" "$long" > main.pb
every_listing "name of 10,000 characters" main.pb "$long"
run "empty term" terms --list terms "" main.pb
run "empty term" calls --list calls "" main.pb

if [ "$big" = --big ]; then
  # Many names with a call or two each: the all-calls index must stay linear.
  mkcase
  awk 'BEGIN { for (i = 0; i <= 100000; i++) printf "Procedure P%d()\n  x = P%d()\nEndProcedure\n", i, (i * 7) % 100001 }' > main.pb
  every_listing "100,001 procedures, one call each" main.pb P5

  mkcase; mkdir inc
  for i in $(seq 1 100000); do echo "XIncludeFile \"inc/f$i.pbi\""; echo "x = $i" > "inc/f$i.pbi"; done > main.pb
  printf 'Procedure Foo()\nEndProcedure\n' >> main.pb
  every_listing "main file including 100,000 files" main.pb

  mkcase; { printf 'Procedure Foo() : x = Foo('; head -c 50000000 /dev/zero | tr '\0' 'a'; printf ')\n'; } > main.pb
  every_listing "a 50 MB file that is one line" main.pb
fi

exit $fail
