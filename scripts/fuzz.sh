#!/usr/bin/env bash
# Fuzzes the text-to-number conversions with libFuzzer, ASan and UBSan.
# Usage: scripts/fuzz.sh [seconds]   (default 20)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
out="$root/build/fuzz"
mkdir -p "$out/corpus"

clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" \
  "$root/tests/fuzz/conversions_fuzz.cpp" \
  "$root/services/conversions.cpp" \
  -o "$out/conversions_fuzz"

# A few typed texts to start from.
printf '1700' >"$out/corpus/plain"
printf ' -12.5e3x' >"$out/corpus/float"
printf '\xef\xbc\x91\xef\xbc\x92\xe3\x80\x80' >"$out/corpus/fullwidth"
printf '4294967297' >"$out/corpus/wrap"

cd "$out"
./conversions_fuzz -max_total_time="$seconds" -max_len=256 corpus
