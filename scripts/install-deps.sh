#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need.
# Only missing packages are installed; `apt-get update` runs only when something
# is missing. Never asks questions: CI has no standard input.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config
  # window, GL context, events, audio output, overlay text
  libsdl2-dev libsdl2-ttf-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libfontconfig-dev fonts-dejavu-core libfreetype-dev
  # pictures, sound decoding, preferences, command line, screenshots
  libtiff-dev libavformat-dev libavcodec-dev libswresample-dev
  nlohmann-json3-dev libcli11-dev libpng-dev
  # the board server (HTTP, SQLite, PostgreSQL, hashes) and the game's board client; the
  # PostgreSQL server and curl for the board's tests
  libcpp-httplib-dev libsqlite3-dev sqlite3 libpq-dev libssl-dev libcurl4-openssl-dev
  postgresql curl
  # the board's pages in a real browser, headless
  chromium
  # tests and benchmarks; cores kept busy while frame pacing and
  # the game under load are measured
  libgtest-dev libbenchmark-dev stress-ng
  # which files a verification opens (no GL library, no sound device)
  strace
  # the interpreter the chart engine is measured against (bench/engine_vs_lua)
  lua5.4
  # headless desktop checks and media tools used by tests and the resource generator
  xvfb xauth xdotool x11-utils ffmpeg imagemagick
  # the chart pictures in docs/charts (dot)
  graphviz
  # validators for the installed desktop entry and AppStream metadata
  desktop-file-utils appstream
  # the Debian package: dependencies computed by dpkg-shlibdeps, judged by lintian,
  # installed into a test root under fakeroot
  dpkg-dev lintian fakeroot
  # the leak-checked session and the fuzzing harnesses (clang's sanitizer runtimes)
  clang-14 libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
as_root=()
if ((EUID != 0)); then
  as_root=(sudo -n)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q </dev/null
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
