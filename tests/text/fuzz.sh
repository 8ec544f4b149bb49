#!/usr/bin/env bash
# Builds the text fuzzer with clang++ and runs it.
# Usage: tests/text/fuzz.sh [seconds=60] [work folder=/tmp/tolvex-fuzz-text]
set -euo pipefail
seconds=${1:-60}
work=${2:-/tmp/tolvex-fuzz-text}
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$work/corpus"

sources=(
  "$root/tests/text/fuzz_text.cpp"
  "$root/text/Utf8.cpp"
  "$root/text/SubText.cpp"
  "$root/text/LetterCase.cpp"
  "$root/text/ReplaceIgnoreCase.cpp"
  "$root/text/ReadNumber.cpp"
)
# shellcheck disable=SC2046 # pkg-config output is a list of flags
clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" "${sources[@]}" \
  $(pkg-config --cflags --libs Qt6Core) -o "$work/fuzz_text"

# Seeds, one for each operation. The fuzzer reads the operation and the
# numbers from the end of an input and the texts from its front.
printf '  -2147483648\x00' > "$work/corpus/seed-number"
printf '$FFFFFFFF\x04' > "$work/corpus/seed-hex"
printf 'abc\xc3\xa9t\xc3\xa9\xff\x05\x03\x03\x03\x01' > "$work/corpus/seed-subtext"
printf '\xc3\x89\\Aimg\\APHOTO \xc3\xa9t\xc3\xa9\x02' > "$work/corpus/seed-replace"
printf '.i\\A\xc4.\xb1\x03' > "$work/corpus/seed-remove"

exec "$work/fuzz_text" -max_total_time="$seconds" -max_len=256 -print_final_stats=1 \
  -artifact_prefix="$work/" \
  "$work/corpus"
