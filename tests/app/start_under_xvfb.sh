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

# A display number of its own: Xvfb refuses one whose lock file another server holds (test
# runs of other builds on the machine, in other namespaces too), and then the next is tried.
# -displayfd tells when the server accepts clients.
command -v Xvfb >/dev/null || fail "Xvfb is not installed (scripts/install-deps.sh installs it)"
command -v xwininfo >/dev/null || fail "xwininfo is not installed (scripts/install-deps.sh installs it)"
deadline=$((SECONDS + wait_seconds))
display=$((1000 + RANDOM % 30000))
until [ -s "$work/display" ]; do
  if [ -z "$xvfb" ] || ! kill -0 "$xvfb" 2>/dev/null; then
    [ -z "$xvfb" ] || { wait "$xvfb" 2>/dev/null || true; display=$((display + 1)); }
    while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
  fi
  [ "$SECONDS" -lt "$deadline" ] || { cat "$work/xvfb.log"; fail "no virtual X server started in ${wait_seconds} s"; }
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
