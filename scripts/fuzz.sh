#!/usr/bin/env bash
# Fuzzes the text-to-number conversions and the step file reader and writer
# with libFuzzer, ASan and UBSan, each for the given time.
# Usage: scripts/fuzz.sh [seconds per target]   (default 20)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
out="$root/build/fuzz"
mkdir -p "$out/conversions-corpus" "$out/step-file-corpus"

build() {
  local name=$1
  shift
  clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" "$@" -o "$out/$name"
}
build conversions_fuzz "$root/tests/fuzz/conversions_fuzz.cpp" "$root/services/conversions.cpp"
build step_file_fuzz "$root/tests/fuzz/step_file_fuzz.cpp" "$root/services/step_file.cpp" \
  "$root/engine/fatal_fault.cpp"

# A few typed texts to start from.
seeds="$out/conversions-corpus"
printf '1700' >"$seeds/plain"
printf ' -12.5e3x' >"$seeds/float"
printf '\xef\xbc\x91\xef\xbc\x92\xe3\x80\x80' >"$seeds/fullwidth"
printf '4294967297' >"$seeds/wrap"

# Step files: every keyword, a BOM with CRLF, and UTF-16 LE.
seeds="$out/step-file-corpus"
printf 'tapvane2-steps 1\n# c\nleft-click 1400 200 300\nleft-double-click -1 0 7\nright-click 1 2 3\nright-double-click 4 5 -6\nkey backspace 0\nkey enter 1\nkey space 2\nkey copy 3\nkey paste 4\nkey f5 5\n' \
  >"$seeds/every-keyword"
printf '\xef\xbb\xbfTAPVANE2-STEPS 1\r\n\tKEY Enter\t-0\r\n' >"$seeds/bom-crlf"
printf '\xff\xfet\0a\0p\0v\0a\0n\0e\0002\0-\0s\0t\0e\0p\0s\0 \0001\0\n\0k\0e\0y\0 \0f\0005\0 \0001\0' \
  >"$seeds/utf16"

cd "$out"
./conversions_fuzz -max_total_time="$seconds" -max_len=256 conversions-corpus
./step_file_fuzz -max_total_time="$seconds" -max_len=4096 -dict="$root/tests/fuzz/step_file.dict" \
  step-file-corpus
