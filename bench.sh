#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all headless, each figure of
# the program next to its bare baseline, then prints one table of figures,
# ratios and goals. Arguments go to every benchmark executable, for example
#   ./bench.sh --benchmark_repetitions=3     (the table then uses medians)
#   ./bench.sh --benchmark_filter='rule_'    (only some figures)
# Needs about 2 GiB in /dev/shm for the scratch files.
cd "$(dirname "$0")"
source cmake/setup.sh
# The peers the command line is measured beside.
tolvex_packages+=(mmv rename)
tolvex_install_missing
tolvex_build bench-build -DCMAKE_BUILD_TYPE=Release -DTOLVEX_BUILD_BENCH=ON -DTOLVEX_BUILD_TESTS=OFF

export QT_QPA_PLATFORM=offscreen
TOLVEX_BENCH_DIR=$(mktemp -d /dev/shm/tolvex-bench.XXXXXX 2>/dev/null || mktemp -d)
export TOLVEX_BENCH_DIR
results=$(mktemp -d)
trap 'rm -rf "$TOLVEX_BENCH_DIR" "$results"' EXIT

# The memory figure runs in a process of its own, so no other benchmark's
# freed pages hide what the list takes.
outputs=()
for name in intake rules apply view memory drop cli tags textrules peers; do
  bench-build/bench/bench_$name --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
  if [ -s "$results/$name.json" ]; then outputs+=("$results/$name.json"); fi
done
# The roads in from outside need a real X server: each road in a process and
# on a server of its own, so that each memory figure starts afresh. They run
# in a person's locale: under C the file dialog sorts a folder by plain code
# points, cheaply and with file10 before file9, where a desktop's locale
# sorts it the natural way, which costs far more.
for road in dialog drop drop1M gtk1M; do
  LC_ALL=en_US.UTF-8 TOLVEX_ROAD=$road QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    bench-build/bench/bench_roads --benchmark_out="$results/roads-$road.json" --benchmark_out_format=json "$@"
  if [ -s "$results/roads-$road.json" ]; then outputs+=("$results/roads-$road.json"); fi
done
# The same window on a headless sway, each road on a compositor of its own.
for road in wayland100k wayland1M; do
  TOLVEX_ROAD=$road tests/roads/run-wayland.sh \
    bench-build/bench/bench_roads --benchmark_out="$results/roads-$road.json" --benchmark_out_format=json "$@" \
    || echo "the $road road did not run"
  if [ -s "$results/roads-$road.json" ]; then outputs+=("$results/roads-$road.json"); fi
done

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg)"
bench-build/bench/bench_report "${outputs[@]}"
