#!/bin/sh
# velkor-cli build: every example database built with all exports, the
# small office's listing and INI file compared with their expected text, and
# a database the builder refuses.
set -u
cli=$1
examples=$2
expected=$3
work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }
size() { wc -c < "$1" | tr -d ' '; }
# The listing and the INI file as UTF-8 lines without their CR.
text() { iconv -f CP1251 -t UTF-8 "$1" | tr -d '\r'; }

for db in "$examples"/*.dcf; do
  name=$(basename "$db" .dcf)
  "$cli" build "$db" -o "$name.rom" --log "$name.log" --ini "$name.ini" --prg "$name.prg" 2> "$name.err" ||
    { cat "$name.err"; fail "$name does not build"; }
  [ -s "$name.err" ] && { cat "$name.err"; fail "$name: the build said something"; }
  [ "$(size "$name.rom")" -eq 8064 ] || fail "$name.rom is not 8064 bytes"
  [ "$(stat -c %a "$name.rom")" = 600 ] || fail "$name.rom is readable by others"
  for f in log ini prg; do
    [ -s "$name.$f" ] || fail "no $name.$f"
    [ "$(tr -cd '\n' < "$name.$f" | wc -c)" -eq "$(tr -cd '\r' < "$name.$f" | wc -c)" ] ||
      fail "$name.$f: a line without CR LF"
  done
  [ "$(text "$name.log" | tail -n 1)" = "Конец структуры" ] || fail "$name.log is not complete"
  [ "$(text "$name.prg" | tail -n 1)" = "Изменение конфигурации ППК завершено." ] || fail "$name.prg is not complete"
done

# Date, time and program version head the listing; the rest is fixed.
text small-office.log | tail -n +4 > log.out
cmp -s log.out "$expected/small_office.log" || { diff log.out "$expected/small_office.log"; fail "listing"; }
text small-office.ini > ini.out
cmp -s ini.out "$expected/small_office.ini" || { diff ini.out "$expected/small_office.ini"; fail "INI file"; }

# Without the exports only the image is written.
"$cli" build "$examples/small-office.dcf" -o only.rom 2> only.err || fail "image only"
[ "$(ls only.*)" = "only.err
only.rom" ] || fail "exports written without their options"
cmp -s only.rom small-office.rom || fail "the image depends on the exports"

# A new database has no administrator: exit 1, the messages, no files left.
"$cli" new -o new.dcf 2> /dev/null || fail "new"
"$cli" build new.dcf -o new.rom --ini new.ini --log new.log 2> new.err; rc=$?
[ $rc -eq 1 ] || fail "a refused database gave $rc"
grep -q "Ошибка конвертирования базы данных: Неполная база данных, отсутствует администратор" new.err ||
  { cat new.err; fail "no check message"; }
grep -q "База данных в файл не сохранена" new.err || fail "no save warning"
[ -e new.rom ] || [ -e new.ini ] || [ -e new.log ] && fail "files left after a refused build"

"$cli" build "$examples/small-office.dcf" > /dev/null 2>&1; rc=$?
[ $rc -eq 2 ] || fail "a missing -o gave $rc"
echo ok
