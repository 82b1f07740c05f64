#!/bin/sh
# velkor-cli rom2dcf: a .ROM image read into a database and saved as .DCF.
set -u
cli=$1
rom=$2
expected=$3
work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

"$cli" rom2dcf "$rom" -o panel.dcf 2> read.err || { cat read.err; fail "rom2dcf refused the image"; }
[ -s read.err ] && { cat read.err; fail "rom2dcf said something"; }
"$cli" show panel.dcf > show.out || fail "the saved database does not load"
cmp -s show.out "$expected" || { diff show.out "$expected"; fail "unexpected trees"; }

head -c 8065 /dev/zero > long.rom
"$cli" rom2dcf long.rom -o long.dcf 2> long.err; rc=$?
[ $rc -eq 1 ] || fail "a long file gave $rc"
[ -e long.dcf ] && fail "a database was saved from a long file"
grep -q "Ошибка чтения файла" long.err || fail "no read error"
grep -q "База данных из файла не загружена" long.err || fail "no load warning"

"$cli" rom2dcf "$rom" > /dev/null 2>&1; rc=$?
[ $rc -eq 2 ] || fail "a missing -o gave $rc"
echo ok
