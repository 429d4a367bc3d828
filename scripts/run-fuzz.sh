#!/bin/sh
# Runs a fuzzer: scripts/run-fuzz.sh <build folder> <seconds> [fuzzer] [libFuzzer options...]
# The fuzzer is header_reader_fuzz (the default), control_file_fuzz, map_scene_fuzz or
# shoreline_fuzz. Seeds are regenerated on every run (from the fixture writer, or the worked
# examples' control files); what the fuzzer finds is kept in <build folder>/fuzz/corpus-<fuzzer>,
# and a crashing input lands in <build folder>/fuzz/ as crash-*, leak-* or timeout-*. Options
# after the fuzzer go to libFuzzer as they are, for example -runs=10000000 -jobs=1 -workers=1.
set -eu

build=${1:-build-fuzz}
seconds=${2:-300}
target=${3:-header_reader_fuzz}
[ $# -gt 3 ] && shift 3 || set --
fuzzer="$build/fuzz/$target"
case "$target" in
    header_reader_fuzz) seeder="$build/fuzz/header_seed_writer" ;;
    control_file_fuzz) seeder="" ;;
    map_scene_fuzz | shoreline_fuzz) seeder="$build/fuzz/map_seed_writer" ;;
    *) echo "run-fuzz: no fuzzer named $target" >&2; exit 1 ;;
esac

for program in "$fuzzer" $seeder; do
    if [ ! -x "$program" ]; then
        echo "run-fuzz: $program is missing; build the fuzz preset first" >&2
        exit 1
    fi
done

seeds="$build/fuzz/seeds-$target"
corpus="$build/fuzz/corpus-$target"
mkdir -p "$seeds" "$corpus"
case "$target" in
    header_reader_fuzz)
        "$seeder" "$seeds"
        # Only the first 5000 characters of a file count; a little more lets the fuzzer try
        # the edge.
        maxLength=6144
        ;;
    control_file_fuzz)
        # The control files start from the worked examples.
        cp "$(dirname "$0")"/../tests/data/*.inp "$seeds"
        maxLength=4096
        ;;
    *)
        "$seeder" "$build/fuzz/map-seeds"
        rm -rf "$seeds" && mkdir -p "$seeds"
        cp "$build/fuzz/map-seeds/$([ "$target" = map_scene_fuzz ] && echo scene || echo shore)"/* "$seeds"
        # Three headers of 5000 characters; a shore file's bytes are far fewer.
        maxLength=$([ "$target" = map_scene_fuzz ] && echo 15360 || echo 1024)
        ;;
esac

# A report of undefined behaviour stops the run like any other finding.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# The sanitizers' own bookkeeping grows through a long run: the scene fuzzer passes 2 GB,
# libFuzzer's default limit, after about 2.5 million inputs, while a plain build of it stays at
# 18 MB over 40 000 scenes.
exec "$fuzzer" -max_total_time="$seconds" -max_len="$maxLength" -print_final_stats=1 \
    -rss_limit_mb=8192 -artifact_prefix="$build/fuzz/" "$@" "$corpus" "$seeds"
