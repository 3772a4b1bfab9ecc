#!/usr/bin/env bash
# Lines of tests against lines of code, over the files git tracks (fuzz corpora left out):
# tests/ and tools/tests against src/, tools/src, bench/, the fuzz harnesses and scripts/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -v '/corpus/' | while read -r f; do
    if [[ -f $f ]]; then cat "$f"; fi
  done | wc -l
}
tests=$(count tests tools/tests)
code=$(count src tools/src bench scripts 'fuzz/*.cpp' 'fuzz/*.h')
echo "tests: $tests lines (tests/, tools/tests)"
echo "code:  $code lines (src/, tools/src, bench/, fuzz/*.cpp|h, scripts/)"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests / code: %.2f\n", t / c }'
