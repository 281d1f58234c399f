#!/usr/bin/env bash
# make bench: runs bench.exe (inside the Wine session that tools/wine-session.sh provides) at
# 100 % and 150 % display scale, and for the memory alone at 200 %, prints its lines and writes
# docs/performance.md from them.
#   tools/bench.sh BUILD_DIR          BENCH_EVENTS=N makes the floods smaller for a quick look
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
bin="$build_dir/bin"
doc=docs/performance.md

for file in bench.exe floor_window.exe TaveloKeyboard.exe keyhook.dll; do
  [ -f "$bin/$file" ] || { echo "missing $bin/$file: run make build BUILD=$build_dir" >&2; exit 1; }
done

bin_windows=$(winepath -w "$bin")
events=${BENCH_EVENTS:-1000000}
scaled_events=${BENCH_EVENTS:-100000}

# The display scale of the prefix, read by every Wine process started after the change.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
output=$(mktemp)
trap 'set_dpi 96; rm -f "$output"' EXIT

# One bench.exe run at a scale (percent, dpi); its lines are prefixed with the percentage.
run_at() {
  local percent=$1 dpi=$2
  shift 2
  set_dpi "$dpi"
  wine "$bin/bench.exe" "$bin_windows" "$@" </dev/null | tr -d '\r' | sed "s/^/$percent /" | tee -a "$output"
}
run_at 100 96 "$events"
run_at 150 144 "$scaled_events"
run_at 200 192 "$scaled_events" memory
set_dpi 96
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Each file's size and the part of it that is pictures (bitmap and raw-data resources), from the
# 100 % run's "file NAME BYTES PICTURE_BYTES" lines; then the code budget.
files_table() {
  echo "| File | Size | Pictures | Without pictures |"
  echo "|---|---:|---:|---:|"
  awk '$1 == 100 && $2 == "file" {
         printf "| %s | %.1f KiB | %.1f KiB | %.1f KiB |\n", $3, $4 / 1024, $5 / 1024, ($4 - $5) / 1024 }' "$output"
  echo
  awk '$1 == 100 && $2 == "file" { rest[$3] = $4 - $5 }
       END { total = (rest["TaveloKeyboard.exe"] + rest["keyhook.dll"]) / 1024
             printf "TaveloKeyboard.exe without its pictures plus keyhook.dll: %.1f KiB (budget 160 KiB: %s).\n",
                    total, total <= 160 ? "within" : "over" }' "$output"
}

# The targets, each with this run's figure.
targets() {
  awk '$1 ~ /^[0-9]+$/ && NF == 9 && $5 == "floor" { value[$1, $2] = $3; base[$1, $2] = $6 }
       $1 == 100 && $2 == "file" { rest[$3] = $4 - $5 }
       function ratio(scale, id) {
         if (value[scale, id] == "-" || base[scale, id] + 0 <= 0)
           return "-"
         return sprintf("%.2f", value[scale, id] / base[scale, id])
       }
       function row(text, got, ok) { printf "| %s | %s | %s |\n", text, got, ok ? "met" : "not met" }
       END {
         print "| Target | This run | |"
         print "|---|---:|---|"
         r = ratio(100, "press_to_pixel"); row("press → pixel (median) ≤ 1.3 × floor", r "×", r != "-" && r <= 1.3)
         r = ratio(100, "release_to_pixel"); row("release → pixel (median) ≤ 1.3 × floor", r "×", r != "-" && r <= 1.3)
         r = ratio(100, "repaint_per_event"); row("one event and its paints ≤ 1.5 × floor", r "×", r != "-" && r <= 1.5)
         r = ratio(100, "start_to_picture"); row("start → picture ≤ 1.15 × floor", r "×", r != "-" && r <= 1.15)
         r = ratio(100, "mouse_move"); row("mouse move ≤ 1.1 × floor (a bare mouse hook)", r "×", r != "-" && r <= 1.1)
         w = value[100, "idle_wakeups_30s"]
         row(sprintf("idle: ≤ 1 wake-up in 30 s after the first 5 s (floor %s)", base[100, "idle_wakeups_30s"]), w, w != "-" && w <= 1)
         d = value[100, "private_start"] - base[100, "private_start"]
         row("private memory at 100 % ≤ floor + 2 MiB", sprintf("+%.0f KiB", d), d <= 2048)
         t = (rest["TaveloKeyboard.exe"] + rest["keyhook.dll"]) / 1024
         row("executable without pictures + library ≤ 160 KiB", sprintf("%.1f KiB", t), t <= 160)
       }' "$output"
}

# What each figure means; the keys are bench.exe's figure names.
declare -A about=(
  [absorb_rate]="Hook events handled per second. Batches of 5000 alternating presses and releases of A are queued while the window's thread is held, then timed from its release until the window has handled all of them (and painted once). Higher is better; the ratio below 1 is the share of the bare window's speed."
  [repaint_per_event]="Median time for one event and the paint it causes: the event is sent to the window, the pending paints are forced with RedrawWindow(RDW_UPDATENOW), then WM_NULL. The floor handles a posted event for A as its hook handles A: it invalidates A's rectangle and paints it, so the difference is what the program does beyond the platform's work for one key."
  [repaint_uncovered]="Median time for the paints of a window whose whole client area was uncovered (invalidated from outside) without any change of state, forced and synchronised the same way. The floor only validates."
  [press_to_pixel]="Median time from SendInput of A (from the bench process, as a keyboard would) until A's rectangle on screen is lit: at least half of its pixels changed, polled without pause. 40 presses after 3 to warm up."
  [press_to_pixel_p90]="The 90th percentile of the same presses."
  [release_to_pixel]="Median time from SendInput of A's release, after A was held for 250 ms, until A's rectangle on screen is back to its released look, every pixel. A key held longer than its minimum lit time of 100 ms goes dark at its release, so this is the release as the user sees it."
  [release_to_pixel_p90]="The 90th percentile of the same releases."
  [start_to_picture]="Median of 21 fresh starts of each, taken in turns: from CreateProcess to the window's pixels on screen showing the settled picture (the keyboard, the floor's fill colour), polled every millisecond or so."
  [private_start]="Private memory one second after the first picture."
  [private_after_flood]="Private memory after the flood of hook events (a million unless the run was shortened)."
  [private_growth]="Growth of private memory over the flood: a handler or paint that leaks shows here; a few KiB on both sides is Wine's own."
  [idle_wakeups_30s]="Wake-ups of all the process's threads while nothing happened for 30 s, from 5 s after its start: the voluntary context switches of its Linux threads, read from /proc/PID/task/*/status through Wine's drive Z: before and after. Wine's own threads of the process are counted too."
  [idle_cpu_30s]="CPU time (kernel + user) the process used over the same 30 s. Wine counts in 10 ms ticks: 0.0 means less than one tick."
  [mouse_move]="The cost of one mouse move to the desktop: the time of SendInput for a relative move of one pixel (it returns once every low-level mouse hook has answered), the median of 9 batches of 200 moves back and forth in a corner of the screen, each batch with a fresh copy of the subject, taken in turns with the other subject (so that both meet the same load). The floor answers from a bare WH_MOUSE_LL hook on its window's thread; a note gives the time with neither running."
  [exe_size]="Size of TaveloKeyboard.exe against floor_window.exe; both are linked statically with the same options. The program carries the two keyboard pictures as resources."
  [dll_size]="Size of keyhook.dll (the floor has no counterpart)."
)

{
  echo "# Performance"
  echo
  echo "Generated by \`make bench\` (tools/bench.sh, tools/bench/bench.cpp). Each figure of TaveloKeyboard.exe"
  echo "is set against floor_window.exe, the least program that does the same platform work: a window of the"
  echo "same style and client size with a one-item menu bar, built by the same toolchain, whose low-level"
  echo "keyboard hook, on its GUI thread, fills key A's rectangle red while A is held (a posted hook event for"
  echo "A does the same), and whose bare low-level mouse hook only passes each mouse event on; it paints"
  echo "the rest once. Both run under Wine on a private Xvfb, each from a fresh temporary"
  echo "directory (no TaveloKeyboard.ini), one at a time. The ratio is program / floor. Scale 150 % and"
  echo "200 % are runs with the prefix's LogPixels at 144 and 192 (restored to 96 afterwards); the floor"
  echo "then scales its client area and A's rectangle as edge' = (edge × dpi + 48) / 96."
  echo
  echo "## Machine"
  echo
  echo "| | |"
  echo "|---|---|"
  echo "| Processors (nproc) | $(nproc) |"
  echo "| CPU | $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//') |"
  echo "| Wine | $(wine --version 2>/dev/null) |"
  echo "| Date | $(date -u '+%Y-%m-%d %H:%M UTC') |"
  echo "| Commit | $(git rev-parse --short HEAD) |"
  echo "| Load average before / after | $load_before / $load_after |"
  echo
  echo "The processors are shared with other work (builds and test runs of other developers), so every"
  echo "timed figure is noisy, easily by a factor of two from run to run; start times are medians, the"
  echo "repaint time is a median over 2000 events. Compare ratios, not absolute values."
  echo
  echo "## Figures"
  echo
  targets
  echo
  echo "| Figure | Scale | Program | Floor | Ratio | What it is |"
  echo "|---|---:|---:|---:|---:|---|"
  awk 'NF == 9 && $5 == "floor" && $8 == "ratio"' "$output" |
    while read -r percent id value unit _ floor_value _ _ ratio; do
      about_text=""
      if [ "$percent" = 100 ]; then
        about_text=${about[$id]:-}
      elif [ "$id" = exe_size ] || [ "$id" = dll_size ]; then
        continue # the same files at every scale
      fi
      echo "| $id | $percent % | $value $unit | $floor_value $unit | $ratio | $about_text |"
    done
  echo
  echo "A dash means the figure could not be taken (see the notes). At 200 % only the memory is taken."
  echo
  echo "## Files"
  echo
  files_table
  echo
  echo "- Both products link the C and C++ runtimes statically and import only system DLLs. They are"
  echo "  built without exceptions and optimised for size, and the linker drops every function that"
  echo "  nothing calls. The standard library's helpers that would throw on an impossible string size"
  echo "  or a failed allocation are replaced by ones that end the process (src/app/runtime_failures.cpp):"
  echo "  the library's own versions link the exception runtime, the terminate handler's name demangler"
  echo "  and a printf, about 140 KiB."
  echo "- The program icon (four images up to 256 × 256 in 16 colours, about 43 KiB) is not a picture"
  echo "  in this count."
  echo
  echo "## Where the program's time goes"
  echo
  echo "- At rest nothing runs: the hook watchdog checks once a second only while input comes and stops"
  echo "  3 s after the last; until the next input wakes it through the system's raw input, the hook"
  echo "  thread waits without a timer. Every other timer runs only while it has something to do."
  echo "- A mouse move is passed on by the mouse hook before anything else; afterwards the hook only"
  echo "  notes the time for the watchdog: no message, no allocation, no lock."
  echo "- A paint draws straight from the two pictures; there is no off-screen frame. A hook event"
  echo "  marks only the rectangle of the key that changed; the paint that follows copies its damaged"
  echo "  area from the base picture, then every held key that meets the area from the pressed picture."
  echo "  An uncovered window is drawn the same way."
  echo "- What one event still costs under Wine is mostly the platform's: the handler's invalidation is a"
  echo "  call to the Wine server, and a paint of any size costs about 120 us in BeginPaint and 40 us in"
  echo "  EndPaint. The floor pays the same for its own paint of A; the program's own drawing is about"
  echo "  20 us of it. A rectangle already waiting for its paint is not invalidated again: in a flood the"
  echo "  update region would otherwise grow rectangle by rectangle, and Wine slows down with it."
  echo "- A press stays lit for at least 100 ms, so that a screen recorder's frame catches even a tap"
  echo "  whose release came with it. A release within that time waits on one window timer for all"
  echo "  keys, started only while such a release waits: idle, no timer runs. In the repaint and flood"
  echo "  figures A is pressed and released back to back, so the program's A stays lit through them (a"
  echo "  release waits, the next press takes it back) and most of its events change nothing, while the"
  echo "  floor paints every one: there the ratio is the cost of an event, not of its paint. The release"
  echo "  figure is taken on a key held for 250 ms, past the minimum."
  echo "- Memory beyond the floor at 100 %, found in /proc/PID/smaps of the Linux process and by"
  echo "  leaving parts out one at a time: keyhook.dll and its hook thread about 1070 KiB (under Wine a"
  echo "  thread costs about 1 MiB whatever its stack; the floor hooks on its window's thread); the"
  echo "  executable's image about 480 KiB (Wine reads an image whose sections do not start on a page of"
  echo "  the file into private memory, the pictures' resources with it; page-aligned sections would be"
  echo "  mapped from the file instead, for 25 to 35 KiB more file per image, beyond the size budget);"
  echo "  the two pictures in their own 4 bits per pixel about 240 KiB; the rest (following the focus"
  echo "  12 KiB, Wine's own heaps) about 150 KiB. COM and the common controls are loaded only when"
  echo "  scaled art is decoded or the settings dialog opens: loaded at start-up they cost about 1.7 MiB."
  echo "- A blit to the window passes, under Wine, through a temporary 32-bit copy of the rectangle,"
  echo "  allocated on Wine's Unix side; once one such block has been freed, the C library there raises"
  echo "  its threshold for mapping blocks of their own and keeps the later ones in its heap. A blit of"
  echo "  the whole window left 945 KiB at 100 % (2 MiB at 150 %, 3.6 MiB at 200 %) in the process from"
  echo "  the second full paint on; the paints therefore copy in bands of at most 64 KiB of that copy."
  echo "  An off-screen 32-bit frame and a 32-bit scratch picture, tried before, each left the figure"
  echo "  unchanged, probably because each took that copy's place. The frame is gone: on Windows it"
  echo "  would duplicate the window's redirection surface."
  echo
  echo "## Notes from the run"
  echo
  sed -n 's/^\([0-9]*\) # */- at \1 %: /p' "$output"
  echo
  echo "## How the figures are taken"
  echo
  echo "- A message sent to a window of another thread is handled before anything already queued for"
  echo "  it, so a WM_NULL sent after a flood returns long before the flood is handled. Floods are"
  echo "  therefore synchronised by invalidating the window and waiting until its update region is empty"
  echo "  again: a paint is only generated once the posted queue is empty."
  echo "- The absorption figure leaves out the cost of posting: each batch is queued while the window's"
  echo "  thread is suspended, and the clock starts when it is resumed."
  echo "- A window of another process reaches the screen when that process flushes it, which Wine does"
  echo "  a little after painting; the start-up figure includes this, as the user sees it."
  echo "- Under Wine, GetProcessMemoryInfo leaves PrivateUsage at zero; its PagefileUsage (anonymous"
  echo "  resident memory; the commit charge on Windows, equal to PrivateUsage there) is used instead."
  echo "- Under Wine, GetProcessTimes for another process returns the caller's own times; CPU time is"
  echo "  read from the system's process list (NtQuerySystemInformation) instead."
  echo "- The floor lights A from its own keyboard hook and from a posted hook event for A; it shows no"
  echo "  other key."
  echo "- Under Wine the window is 1006 x 286 (caption 19, menu bar 19, frames 3): the floor sizes itself"
  echo "  from the same system metrics as the program, so both client areas are 1000 x 242."
} >"$doc"
echo "wrote $doc"
