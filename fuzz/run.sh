#!/usr/bin/env bash
# Builds the libFuzzer targets (build-fuzz/, clang, sanitizers) and runs each one for
# SECONDS, one after the other, at the lowest priority.
#
#   fuzz/run.sh 600               # every target, ten minutes each
#   fuzz/run.sh 60 work shape     # some targets
#
# Each target starts from its committed seeds (fuzz/corpus/<target>/) and from the
# installation files of its kind (data/); what it finds new goes to
# build-fuzz/corpus/<target>/, a crashing input to build-fuzz/artifacts/<target>/, the
# whole output to build-fuzz/logs/<target>.log. Exits non-zero when a target failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(work build utf8 settings shape bmp gif jpeg png icon template glyph)
fi

build=build-fuzz
if [ ! -f $build/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUENZAR_GUI=OFF -DQUENZAR_FUZZ=ON >/dev/null
fi
if ! output=$(nice -n 19 cmake --build $build -j2 --target make_fuzz_seeds $(printf 'fuzz_%s ' "${targets[@]}") 2>&1); then
  echo "$output" >&2
  exit 1
fi

# The one leak the sanitizers may see is fontconfig's, while it reads its own
# configuration (tests/lsan.supp). Only the seed maker reads fonts; it alone pays for
# the full unwinder that lets the suppression see that leak.
leaks="print_suppressions=0:suppressions=$root/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1"

# Seeds from the installation files, in the form each target reads.
rm -rf $build/data-seeds
LSAN_OPTIONS="fast_unwind_on_malloc=0:$leaks" $build/fuzz/make_fuzz_seeds $build/data-seeds "$root/data" >/dev/null
export LSAN_OPTIONS="$leaks"

failed=0
for t in "${targets[@]}"; do
  mkdir -p $build/corpus/$t $build/artifacts/$t $build/logs $build/data-seeds/$t
  log=$build/logs/$t.log
  status=0
  nice -n 19 $build/fuzz/fuzz_$t -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
    -print_final_stats=1 -artifact_prefix=$build/artifacts/$t/ \
    $build/corpus/$t fuzz/corpus/$t $build/data-seeds/$t >"$log" 2>&1 || status=$?
  # A target that stopped on a finding leaves its scratch folder behind.
  rm -rf /dev/shm/quenzar-fuzz-* /tmp/quenzar-fuzz-*
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1 || true)
  if [ $status -eq 0 ]; then
    echo "$t: $last | $done_line"
  else
    echo "$t: FAILED (status $status), see $log and $build/artifacts/$t/"
    failed=1
  fi
done
exit $failed
