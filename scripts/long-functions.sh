#!/usr/bin/env bash
# Lists the functions of src/ longer than a limit (60 lines by default), longest first, as
# "lines file:first-line name". A function is taken to start at the last line at column 0 that
# is not a declaration (namespace, class, table, using ... or a line ending in ";") and to end at
# the next "}" at column 0, which is how the code is laid out. The chart node tables (src/charts) are left out.
# Usage: long-functions.sh [LIMIT] [SRC_DIR]
set -euo pipefail

limit="${1:-60}"
src="${2:-$(dirname "$0")/../src}"

find "$src" \( -name '*.cpp' -o -name '*.h' \) -not -path '*/charts/*' -print0 | sort -z |
  xargs -0 awk -v limit="$limit" '
    FNR == 1 { start = 0 }
    /^[A-Za-z~].*[^;]$/ && !/^(namespace|class|struct|enum|union|extern|template|using|constexpr|const|static const|static constexpr)/ {
      start = FNR; name = $0; next
    }
    /^[A-Za-z]/ { start = 0 }
    start > 0 && /^\}/ {
      if (FNR - start + 1 > limit) printf "%d %s:%d %s\n", FNR - start + 1, FILENAME, start, name
      start = 0
    }
' | sort -rn
