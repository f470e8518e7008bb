#!/usr/bin/env bash
# Starts the built program under a virtual X server with a language file beside it and checks
# that its main window appears with the translated caption; leaves a screenshot behind.
# usage: start_under_xvfb.sh <tervana executable> <screen_grab executable> <screenshot.png>
set -euo pipefail
program=$1
grab=$2
shot=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program finds its language file in its own directory, so it runs from a copy.
cp "$program" "$work/tervana"
printf '# Nome Software\r\nPrograma de Teste\r\n# Form Principal\r\nArquivoX\r\n' > "$work/Tervana.trl"
caption='Programa de Teste - 1.2.2.01'

cat > "$work/inside.sh" <<INSIDE
set -u
export QT_QPA_PLATFORM=xcb
"$work/tervana" > "$work/program.log" 2>&1 &
pid=\$!
found=0
for i in \$(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -qF '"$caption"'; then found=1; break; fi
  if ! kill -0 \$pid 2>/dev/null; then break; fi
  sleep 0.1
done
if [ \$found = 1 ]; then
  sleep 1
  "$grab" "$shot" || found=2
fi
kill \$pid 2>/dev/null
wait \$pid 2>/dev/null
exit \$(( found == 1 ? 0 : 1 ))
INSIDE

if xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/inside.sh"; then
  [ -s "$shot" ] || { echo "no screenshot written"; exit 1; }
  echo "main window '$caption' appeared; screenshot: $shot"
else
  echo "main window '$caption' did not appear"
  cat "$work/program.log" 2>/dev/null || true
  exit 1
fi
