#!/bin/sh
# Runs the header fuzzer, then the control-file fuzzer, each for the given time:
# scripts/run-fuzz.sh <build folder> <seconds>.
# The seed corpus is regenerated from the fixture writer on every run; what the fuzzer finds is
# kept in <build folder>/fuzz/corpus, and a crashing input lands in <build folder>/fuzz/ as
# crash-*, leak-* or timeout-*.
set -eu

build=${1:-build-fuzz}
seconds=${2:-300}
fuzzer="$build/fuzz/header_reader_fuzz"
seeder="$build/fuzz/header_seed_writer"
controlFuzzer="$build/fuzz/control_file_fuzz"

for program in "$fuzzer" "$seeder" "$controlFuzzer"; do
    if [ ! -x "$program" ]; then
        echo "run-fuzz: $program is missing; build the fuzz preset first" >&2
        exit 1
    fi
done

seeds="$build/fuzz/seeds"
corpus="$build/fuzz/corpus"
mkdir -p "$seeds" "$corpus"
"$seeder" "$seeds"

# Only the first 5000 characters of a file count; a little more lets the fuzzer try the edge.
"$fuzzer" -max_total_time="$seconds" -max_len=6144 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/" "$corpus" "$seeds"

# The control files start from the worked examples.
controlSeeds="$build/fuzz/control-seeds"
controlCorpus="$build/fuzz/control-corpus"
mkdir -p "$controlSeeds" "$controlCorpus"
cp "$(dirname "$0")"/../tests/data/*.inp "$controlSeeds"
exec "$controlFuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/control-" "$controlCorpus" "$controlSeeds"
