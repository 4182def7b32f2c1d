#!/usr/bin/env bash
# Line and branch coverage of src/ by the whole test suite: an instrumented build, a headless
# ctest run, then gcovr. Usage: scripts/coverage.sh [BUILD_DIR]   (default: build-coverage)
# The build directory is kept, so scripts/mutation-sample.sh can reuse it.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build-coverage}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
jobs="${JOBS:-2}"

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

if ! command -v gcovr > /dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: gcovr"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gcovr
fi

start=$SECONDS
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DLUMORA_COVERAGE=ON -DLUMORA_BENCH=OFF -DLUMORA_FUZZ=OFF > /dev/null
cmake --build "$build" -j "$jobs"
built=$SECONDS

# Counters from earlier runs (or from a mutant) must not add up with this one, and the notes of
# sources that are gone would stop gcov.
find "$build" -name '*.gcda' -delete
find "$build" -path '*/CMakeFiles/*.dir/*' -name '*.gcno' | while read -r notes; do
  source="${notes#*/CMakeFiles/*.dir/}"
  source="${source%.gcno}"
  folder="${notes%%/CMakeFiles/*}"
  [ -e "$root${folder#"$build"}/$source" ] || [ -e "$folder/$source" ] || rm -f "$notes"
done

status=0
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure -j "$jobs" --timeout 600) || status=$?
tested=$SECONDS

# Only the program's own sources count; test code, generated moc files and headers of
# the build tree do not. Branches the compiler adds for exceptions are not decisions.
cd "$root"
gcovr -r "$root" --object-directory "$build" -j "$jobs" \
  --filter "$root/src/" \
  --exclude '.*_autogen/.*' --exclude '.*/moc_[^/]*' --exclude '.*\.moc$' \
  --exclude "$root/tests/" --exclude "$root/bench/" --exclude "$root/fuzz/" --exclude "$root/build[^/]*/" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --txt "$build/coverage-lines.txt" \
  --print-summary > "$build/coverage-summary.txt"
gcovr -r "$root" --object-directory "$build" -j "$jobs" \
  --filter "$root/src/" \
  --exclude '.*_autogen/.*' --exclude '.*/moc_[^/]*' --exclude '.*\.moc$' \
  --exclude "$root/tests/" --exclude "$root/bench/" --exclude "$root/fuzz/" --exclude "$root/build[^/]*/" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --branches --txt "$build/coverage-branches.txt" > /dev/null
done_at=$SECONDS

echo
echo "== Coverage of src/ (per file: $build/coverage-lines.txt, coverage-branches.txt)"
grep -E '^(lines|branches):' "$build/coverage-summary.txt"
echo "time: build $((built - start))s, tests $((tested - built))s, gcovr $((done_at - tested))s, total $((done_at - start))s"
[ "$status" -eq 0 ] || echo "ctest failed (exit $status): the figures cover a failing run"
exit "$status"
