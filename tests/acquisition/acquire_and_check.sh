#!/usr/bin/env bash
# tervana-acquire against two simulated instruments: what it refuses or names; its history
# file read by an independent script, also one appended to an empty file; then a run killed with SIGKILL, which may lose at most
# one flush interval of lines; then a fast run against two instruments streaming at different
# periods.
# Arguments: tervana-sim, tervana-acquire, the check script.
set -euo pipefail
sim=$1 acquire=$2 check=$3
work=$(mktemp -d /tmp/tervana-acquire-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Waits until the simulators registered their ports; a minute, as a loaded machine may take
# its time to start them.
wait_for_ports() {
  local deadline=$((SECONDS + 60)) n
  for n in "$@"; do
    until [ -e "$work/ports/com$n" ]; do
      [ "$SECONDS" -lt "$deadline" ] || { echo "simulator on COM$n not registered in 60 s"; exit 1; }
      sleep 0.1
    done
  done
}

"$sim" --port-dir "$work/ports" --com 3 --serial 20 --static --quiet >/dev/null & pids+=($!)
"$sim" --port-dir "$work/ports" --com 4 --serial 10 --static --quiet >/dev/null & pids+=($!)
wait_for_ports 3 4

# An instrument that no port answers to is named, and the run goes on without it; a trigger
# on it would never fire, so the run is refused.
"$acquire" --port-dir "$work/ports" --show 10:0x02+77:0x02 --seconds 0.3 > "$work/missing.out" 2> "$work/missing.err"
grep -q "instrument 77 answers on no port" "$work/missing.err"
grep -q "Leituras suspensas" "$work/missing.out"
if "$acquire" --port-dir "$work/ports" --show 10:0x02 --show 77:0x02 --history "$work/never.mpc" \
  --trigger '>=0@77:1' --seconds 5 > /dev/null 2> "$work/trigger.err"; then
  echo "a trigger on an instrument outside the run was taken"; exit 1
fi
grep -q "the trigger's instrument 77 is not in the run" "$work/trigger.err"
[ ! -e "$work/never.mpc" ]

# Ten seconds at 500 ms.
"$acquire" --port-dir "$work/ports" --show 20:0x06 --show 10:0x1F+20:0x02 --read-interval 500 \
  --log-interval 500 --history "$work/run.mpc" --seconds 10 > "$work/run.out"
grep -q "Lendo em modo lento. Taxa de leituras: 500 ms" "$work/run.out"
/usr/bin/python3 "$check" "$work/run.mpc" --interval-ms 500 --min-lines 15

# A file left empty by a program stopped before its first flush holds no header: appended to,
# it gets a whole one, and the independent reading takes the file.
: > "$work/empty.mpc"
"$acquire" --port-dir "$work/ports" --show 10:0x02 --read-interval 250 --log-interval 250 \
  --history "$work/empty.mpc" --existing append --seconds 2 > /dev/null
/usr/bin/python3 "$check" "$work/empty.mpc" --interval-ms 250 --min-lines 1

# Killed without warning: the lines not yet flushed (flush interval 2000 ms, one line per
# 250 ms: eight, and one more written in the tick that flushes) are all that is lost.
"$acquire" --port-dir "$work/ports" --show 10:0x1F --read-interval 250 --log-interval 250 \
  --history "$work/killed.mpc" --echo > "$work/killed.out" &
victim=$!
pids+=($victim)
deadline=$((SECONDS + 120))
until [ "$(grep -c '^[0-9][0-9]/' "$work/killed.out" || true)" -ge 30 ]; do
  [ "$SECONDS" -lt "$deadline" ] || { echo "the run to be killed echoed no 30 lines in 120 s"; exit 1; }
  sleep 0.1
done
kill -9 "$victim"
wait "$victim" 2>/dev/null || true
/usr/bin/python3 "$check" "$work/killed.mpc" --interval-ms 250 --min-lines 10 --echoed "$work/killed.out" \
  --max-missing 9

# Fast mode: two more instruments streaming every 31.25 ms (with junk before its records)
# and every 250 ms, history at 100 ms through the time-slot merger.
"$sim" --port-dir "$work/ports" --com 5 --serial 30 --static --quiet --set 7=0x20 \
  --stream-fault junk=20:400 >/dev/null & pids+=($!)
"$sim" --port-dir "$work/ports" --com 6 --serial 40 --static --quiet --set 7=0x22 >/dev/null & pids+=($!)
wait_for_ports 5 6
"$acquire" --port-dir "$work/ports" --fast --show 30:0x06 --show 40:0x1F --log-interval 100 \
  --history "$work/fast.mpc" --seconds 5 > "$work/fast.out"
grep -q "Lendo em modo rápido." "$work/fast.out"
/usr/bin/python3 "$check" "$work/fast.mpc" --interval-ms 100 --min-lines 40
