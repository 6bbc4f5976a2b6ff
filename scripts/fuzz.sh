#!/usr/bin/env bash
# Fuzzes the form reader, the loader, the settings store's reader and the reader of
# `design --script` for SECONDS each (default 60), one after the other, or for a number of
# executions each when FUZZ_RUNS is set (FUZZ_RUNS="5000000 1000000 1000000 1000000" gives each
# harness its own count, in that order; FUZZ_MAX_LEN caps the input size, 65536 by default:
# the loader runs some forty times faster on inputs of at most 8192 bytes):
# builds the fuzz preset (clang, libFuzzer, ASan+UBSan), seeds from the example forms and the
# corpus when present, and fails when a harness finds a crash. Findings are left in
# build/fuzz/findings/<harness>/; a fixed one is kept as a regression input in
# tests/fuzz/regressions/.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

# fontconfig keeps its caches for the life of the process; the first input that lists the
# fonts would be taken for a leak.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

read -r -a runs <<<"${FUZZ_RUNS:-}"
corpus="${RESCALO_CORPUS_DIR:-$root/../shared/corpus/forms}"
status=0
n=0
for harness in frm_reader_fuzz loader_fuzz settings_store_fuzz design_script_fuzz; do
  limit=(-max_total_time="$seconds")
  if [ "${#runs[@]}" -gt 0 ]; then
    limit=(-runs="${runs[$n]:-${runs[0]}}")
  fi
  n=$((n + 1))
  work="build/fuzz/work/$harness"
  findings="build/fuzz/findings/$harness"
  mkdir -p "$work" "$findings"
  # The form harnesses start from the example and corpus forms, the others from their own.
  seeds=()
  case "$harness" in
    frm_reader_fuzz | loader_fuzz)
      seeds+=("$root/examples")
      [ -d "$corpus" ] && seeds+=("$corpus")
      [ -d "$corpus-2" ] && seeds+=("$corpus-2")
      ;;
  esac
  case "$harness" in
    frm_reader_fuzz) seeds+=("$root/tests/fuzz/regressions/reader") ;;
    loader_fuzz) seeds+=("$root/tests/fuzz/regressions/loader") ;;
    settings_store_fuzz) seeds+=("$root/tests/fuzz/regressions/settings") ;;
    design_script_fuzz) seeds+=("$root/tests/fuzz/regressions/script") ;;
  esac
  echo "== $harness, ${limit[*]} (seeds: ${seeds[*]})"
  if ! "build/fuzz/tests/fuzz/$harness" "$work" "${seeds[@]}" \
      "${limit[@]}" -max_len="${FUZZ_MAX_LEN:-65536}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" 2>&1 | tail -n 25; then
    echo "$harness: finding in $findings" >&2
    status=1
  fi
done
exit "$status"
