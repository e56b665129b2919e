#!/bin/bash
# How long each step of play takes, as a player sees it, in the real game on
# a private Xvfb: steptime (built from steptime.cpp) sends each click or key
# with XTest and waits until the screen has settled.
#
#   latency_test.sh GAME STEPTIME STORYPLAY RUNS [--goals]
#
# The road: START, the name prompt, the welcome message, the north road to
# the castle, the Well of Time back to START, and START again, so that the
# first showings of the name prompt and of a message box can be held against
# later ones. The game is played RUNS times; for every step the median, the
# 90th percentile and the worst are printed, of the time until the screen
# settled and of the processor time the game used meanwhile.
#
# In the test suite it checks that every step of the road is played and
# settles, and prints the times without judging them: a time depends on
# the machine and on what else runs on it. With --goals (make bench) every
# step is also held against its goals, and a step over one fails: at most
# 8 ms of the game's processor time at the 90th percentile, and at most
# 16 ms on screen (one frame at 60 Hz) at the median.
TEST_NAME=latency
# shellcheck source-path=SCRIPTDIR source=../lib/game.sh
source "$(dirname "$0")/../lib/game.sh"

if [ $# -lt 4 ]; then
    echo "usage: $0 GAME STEPTIME STORYPLAY RUNS" >&2
    exit 2
fi
game=$1 steptime=$2 storyplay=$3 runs=$4 goals=${5:-}
need Xvfb xdpyinfo
readonly CPU_P90_LIMIT=8 WALL_MEDIAN_LIMIT=16

# The steps, placed by the built widget tree.
QT_QPA_PLATFORM=offscreen "$storyplay" --layout >"$work/layout.json" 2>/dev/null ||
    fail "storyplay --layout failed"
/usr/bin/python3 - "$work/layout.json" >"$work/road" <<'EOF' || fail "cannot place the steps"
import json, sys
rows = {w["Name"]: w for w in json.load(open(sys.argv[1]))}
def origin(name):
    if name == "Form1":
        return 0, 0
    w = rows[name]
    x, y = origin(w["Parent"])
    return x + w["Left"], y + w["Top"]
def click(name, label):
    x, y = origin(name)
    w = rows[name]
    print(f"click {x + w['Width'] // 2} {y + w['Height'] // 2}\t{label}")
def entry(name, index, label):
    x, y = origin(name)
    w = rows[name]
    h = w["ItemHeight"]
    print(f"click {x + w['Width'] // 2} {y + 2 + h * index + h // 2}\t{label}")
def key(name, label):
    print(f"key {name}\t{label}")
click("start", "START, first name prompt")
key("Return", "name confirmed, first message box")
key("Return", "message closed, crossroads")
entry("Box1", 0, "まずは北に向かう picked")
click("BitBtn1", "OK, message box")
key("Return", "message closed, encounter button")
click("namiki", "the villager's scene")
key("Down", "drop-down entry 0")
key("Down", "drop-down entry 1")
click("BitBtn2", "OK, message box")
key("Return", "message closed, the castle")
entry("List1", 0, "entry picked")
click("BitBtn4", "OK, message box")
key("Return", "message closed, the hall")
entry("list2", 3, "entry picked")
click("BitBtn10", "OK, message box")
key("Return", "message closed, encounter button")
click("nakama", "the swordsman's scene")
click("Button8", "refused, message box")
key("Return", "second message box")
key("Return", "message closed, the well")
click("Button30", "into the well, message box")
key("Return", "message closed, START again")
click("start", "START, second name prompt")
key("Return", "name confirmed, a later message box")
key("Return", "message closed, crossroads again")
EOF
cut -f1 "$work/road" >"$work/steps"

start_xvfb 1024x768
no_session_bus
private_home
mkdir "$work/times"
for run in $(seq "$runs"); do
    timeout 120 "$steptime" -- "$game" <"$work/steps" >"$work/times/$run" 2>"$work/steptime.log" ||
        fail "run $run: steptime failed: $(tail -n 1 "$work/steptime.log")"
done

/usr/bin/python3 - "$work/road" "$goals" $CPU_P90_LIMIT $WALL_MEDIAN_LIMIT "$work"/times/* <<'EOF'
import sys
labels = [line.rstrip("\n").split("\t")[1] for line in open(sys.argv[1])]
judge = sys.argv[2] == "--goals"
cpu_limit, wall_limit, runs = float(sys.argv[3]), float(sys.argv[4]), sys.argv[5:]
wall, cpu = {}, {}
for run in runs:
    for line in open(run):
        _, step, w, c = line.split()
        wall.setdefault(int(step), []).append(float(w))
        cpu.setdefault(int(step), []).append(float(c))
def stats(values):
    values = sorted(values)
    p90 = values[max(0, -(-9 * len(values) // 10) - 1)]
    return values[(len(values) - 1) // 2], p90, values[-1]
print(f"{len(runs)} runs; ms on screen (median / 90th percentile / worst) and ms of processor time")
failures = [f"step {step} ({labels[step - 1]}) was never played"
            for step in range(1, len(labels) + 1) if step not in wall]
for step in sorted(wall):
    wm, wp, ww = stats(wall[step])
    cm, cp, cw = stats(cpu[step])
    print(f"{step:2} {wm:6.2f} {wp:6.2f} {ww:6.2f}   cpu {cm:5.2f} {cp:5.2f} {cw:5.2f}   {labels[step - 1]}")
    if len(wall[step]) != len(runs):
        failures.append(f"step {step} ({labels[step - 1]}) was played in {len(wall[step])} of {len(runs)} runs")
    if judge and cp > cpu_limit:
        failures.append(f"step {step} ({labels[step - 1]}) used {cp:.2f} ms of processor time at the 90th percentile")
    if judge and wm > wall_limit:
        failures.append(f"step {step} ({labels[step - 1]}) took {wm:.2f} ms at the median")
every = sorted(v for values in wall.values() for v in values)
print(f"all steps: median {every[(len(every) - 1) // 2]:.2f} ms, 90th percentile "
      f"{every[-(-9 * len(every) // 10) - 1]:.2f} ms, worst {every[-1]:.2f} ms")
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
EOF
[ $? -eq 0 ] || fail "some steps are not played or miss their goals"
