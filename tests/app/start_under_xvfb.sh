#!/usr/bin/env bash
# Starts the built program under a virtual X server with a language file beside it and checks
# that its main window appears with the translated caption; leaves a screenshot behind.
# usage: start_under_xvfb.sh <tervana executable> <screen_grab executable> <screenshot.png>
set -euo pipefail
program=$1
grab=$2
shot=$3
# Generous: a loaded machine may take many seconds to start an X server and a Qt program;
# a program that dies early ends the wait at once.
wait_seconds=90

work=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
  for p in $pid $xvfb; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$1"
  cat "$work/program.log" 2>/dev/null || true
  exit 1
}

# The program finds its language file in its own directory, so it runs from a copy.
cp "$program" "$work/tervana"
printf '# Nome Software\r\nPrograma de Teste\r\n# Form Principal\r\nArquivoX\r\n' > "$work/Tervana.trl"
caption='Programa de Teste - 1.2.2.01'

# The server picks a free display itself and writes its number once it accepts clients, so
# test runs of other builds on the machine never race for one display number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
deadline=$((SECONDS + wait_seconds))
until [ -s "$work/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log"; fail "the virtual X server did not start"; }
  [ "$SECONDS" -lt "$deadline" ] || fail "the virtual X server gave no display in ${wait_seconds} s"
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")"
export QT_QPA_PLATFORM=xcb

"$work/tervana" > "$work/program.log" 2>&1 &
pid=$!
until xwininfo -root -tree 2>/dev/null | grep -qF "\"$caption\""; do
  kill -0 "$pid" 2>/dev/null || { pid=""; fail "the program ended before its main window '$caption' appeared"; }
  [ "$SECONDS" -lt "$deadline" ] || fail "main window '$caption' did not appear in ${wait_seconds} s"
  sleep 0.1
done
sleep 1  # let the window paint before the picture
"$grab" "$shot" || fail "no screenshot taken"
[ -s "$shot" ] || fail "no screenshot written"
echo "main window '$caption' appeared; screenshot: $shot"
