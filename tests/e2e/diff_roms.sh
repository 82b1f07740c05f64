#!/bin/sh
# velkor-cli diff: a line per differing byte, exit 0 equal, 1 different,
# 2 when a file is no .ROM image.
set -u
cli=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

head -c 8064 /dev/zero > a.rom
cp a.rom b.rom
printf '\001' | dd of=b.rom bs=1 seek=4132 conv=notrunc 2>/dev/null
printf '\377' | dd of=b.rom bs=1 seek=56 conv=notrunc 2>/dev/null
head -c 8063 /dev/zero > short.rom

"$cli" diff a.rom a.rom > same.out; rc=$?
[ $rc -eq 0 ] || fail "equal files gave $rc"
[ -s same.out ] && fail "equal files printed something"

"$cli" diff a.rom b.rom > differ.out; rc=$?
[ $rc -eq 1 ] || fail "different files gave $rc"
printf '%s\n' "0038h    56  00 FF  PPK - Control canal time" "1024h  4132  00 01  Users[0] - Flags" > expected.out
cmp -s differ.out expected.out || { cat differ.out; fail "unexpected lines"; }

"$cli" diff a.rom short.rom > /dev/null 2> short.err; rc=$?
[ $rc -eq 2 ] || fail "a short file gave $rc"
grep -q "Ошибка чтения файла" short.err || fail "no read error message"
echo ok
