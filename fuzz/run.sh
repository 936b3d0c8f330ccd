#!/usr/bin/env bash
# Runs the fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   fuzz/run.sh [SECONDS_PER_TARGET [TARGET...]]      (default 60 s, every target)
#
# Builds them first with clang-14 in build-fuzz/ (or $MORVEK_FUZZ_BUILD). The seed corpus under
# fuzz/corpus/<target>/ is only read; new inputs go to fuzz/findings/<target>/corpus/ and crashing,
# leaking or slow inputs to fuzz/findings/<target>/ (both ignored by git). To keep a finding as a
# test, fix it and copy the input into fuzz/corpus/<target>/: fuzz_replay runs it with ctest.
set -euo pipefail

seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MORVEK_FUZZ_BUILD:-$root/build-fuzz}"
targets=(render zelmar datecs block_reply base64 ini_file sim_request sim_journal archive_import)
[ "$#" -gt 0 ] && targets=("$@")

if [ ! -f "$build/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEK_FUZZ=ON -DMORVEK_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzz}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for target in "${targets[@]}"; do
  findings="$root/fuzz/findings/$target"
  mkdir -p "$findings/corpus"
  dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=(-dict="$root/fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s, findings in $findings"
  # -timeout: one input running longer than 10 s counts as a hang; -max_len: the seeds include
  # journals of some tens of kilobytes.
  "$build/fuzz/${target}_fuzz" "$findings/corpus" "$root/fuzz/corpus/$target" "${dict[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=131072 \
    -artifact_prefix="$findings/" -print_final_stats=1 || status=$?
done
if compgen -G "$root/fuzz/findings/*/crash-*" >/dev/null ||
   compgen -G "$root/fuzz/findings/*/leak-*" >/dev/null ||
   compgen -G "$root/fuzz/findings/*/timeout-*" >/dev/null; then
  echo "fuzz: findings:" && ls "$root"/fuzz/findings/*/{crash,leak,timeout,oom}-* 2>/dev/null || true
fi
exit "$status"
