#!/usr/bin/env bash
# Checks that every include in src/ points down the layers
#   platform -> engine -> chart -> charts -> app, with the board server beside the app
# (a file may include its own layer and those below it; app and board include neither the
# other), that only src/platform includes the headers of SDL, FFmpeg, libtiff and fontconfig
# and the system's (unistd.h, fcntl.h, pwd.h, sys/*), and that only src/engine/gl includes GL's
# (the drawing back end: everything else reaches GL through engine/drawing.h). Prints each
# offending file:line and fails.
# Usage: check-layers.sh [SRC_DIR]   (run by ctest as the test "layers")
set -euo pipefail

src="${1:-$(dirname "$0")/../src}"
declare -A rank=([platform]=0 [engine]=1 [chart]=2 [charts]=3 [app]=4 [board]=4)
platform_only='^(SDL|SDL2/|libav|libsw|tiff|fontconfig/|sys/|(unistd|fcntl|pwd)\.h$)'
gl_header='^(GL/|GLES|EGL/|KHR/|epoxy/|SDL_opengl)'
failures=0

report() {
  echo "$1"
  failures=$((failures + 1))
}

while IFS=: read -r file line text; do
  layer="${file#"$src"/}"
  layer="${layer%%/*}"
  if [[ -z "${rank[$layer]+set}" ]]; then
    report "$file:$line: file is in no layer (expected one of ${!rank[*]})"
    continue
  fi
  if [[ "$text" =~ \#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]]; then
    target="${BASH_REMATCH[1]}"
    if [[ -n "${rank[$target]+set}" && ${rank[$target]} -gt ${rank[$layer]} ]]; then
      report "$file:$line: $layer includes a header of the higher layer $target"
    elif [[ $target != "$layer" && ${rank[$target]:-0} == 4 && ${rank[$layer]} == 4 ]]; then
      report "$file:$line: $layer includes a header of $target, which stands beside it"
    fi
  elif [[ "$text" =~ \#[[:space:]]*include[[:space:]]*\<([^>]+)\> ]]; then
    header="${BASH_REMATCH[1]}"
    if [[ "$header" =~ $gl_header ]]; then
      if [[ "${file#"$src"/}" != engine/gl/* ]]; then
        report "$file:$line: <$header> may only be included in src/engine/gl"
      fi
    elif [[ "$layer" != platform && "$header" =~ $platform_only ]]; then
      report "$file:$line: <$header> may only be included in src/platform"
    fi
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "$src")

if ((failures > 0)); then
  echo "$failures include(s) break the layers"
  exit 1
fi
echo "every include points down the layers"
