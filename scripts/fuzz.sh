#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $HALVORA_FUZZ_DIR)
# and runs each for SECONDS (default 60) over a seed corpus made from the
# sample edition. Anything found is written to build-fuzz/fuzz/findings/TARGET/
# and makes the script fail; the executions of each target are listed at the end.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${HALVORA_FUZZ_DIR:-$ROOT/build-fuzz}"
SECONDS_EACH="${1:-60}"

"$ROOT/scripts/setup.sh"
# clang and its fuzzer runtime are needed here only, not for the normal build.
need=()
command -v clang++ >/dev/null 2>&1 || need+=(clang)
dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null | grep -q "install ok installed" ||
  need+=(libclang-rt-dev)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "fuzz: installing ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DHALVORA_FUZZ=ON -DHALVORA_UI=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$BUILD" --target fuzz_targets -j "${HALVORA_JOBS:-2}"

# Seed corpora from the packed sample edition and its sources.
ED="$BUILD/halvora"
SEEDS="$BUILD/fuzz/seeds"
rm -rf "$SEEDS"
mkdir -p "$SEEDS"/{pe,cipher,document,glossary,tree,profile,packcheck,httpstatus,bookmarks}
# Whole modules are slow to run many times: the libraries are small ones
# packed from the edition's sources, the line files the first lines of the
# shipped ones.
printf 'first line\r\n' >"$BUILD/fuzz/seed.txt"
"$BUILD/authoring/halvora-pack" dll "$SEEDS/pe/stories.dll" HVDATA HV1="$ROOT/data/stories/01.txt" \
  HV2="$BUILD/fuzz/seed.txt" --encipher
"$BUILD/authoring/halvora-pack" dll "$SEEDS/pe/quran.dll" QDATA QDATA="$BUILD/fuzz/seed.txt" --scramble
cp "$ED"/*.dbi "$SEEDS/document/"
for n in 2 6 16; do
  head -n $n "$ED/QGloss.dbx" >"$SEEDS/glossary/QGloss$n.dbx"
  head -n $((n * 2)) "$ED/QIndex.dbx" >"$SEEDS/tree/QIndex$n.dbx"
done
cp "$ROOT"/data/stories/*.txt "$SEEDS/packcheck/"
# A stored line with its key in front (four bytes, little-endian), as the
# cipher target reads it.
i=0
while IFS= read -r line && [ $i -lt 64 ]; do
  { printf "\\x$(printf %02x $((i & 255)))\\x$(printf %02x $((i >> 8)))\\x00\\x00"
    printf '%s' "${line%$'\r'}"; } >"$SEEDS/cipher/line$i"
  i=$((i + 1))
done <"$ED/QGloss.dbx"
printf '[General]\r\nStartUpTips=1\r\nMaximise=0\r\n\r\n[RemoteAudio]\r\nRemoteAudioServer=localhost:8020\r\nDiskCacheDir=" /tmp/cache "\r\n; a comment\r\n[ColorScheme]\r\nColorScheme=0x3\r\n' \
  >"$SEEDS/profile/Halvora.ini"

printf '0||Adam||The Creation||001000\r\n3||Iblis||Glossary Term: Iblis||Iblis\r\n' \
  >"$SEEDS/bookmarks/HVBookmarks.dbx"
printf 'HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n' >"$SEEDS/httpstatus/200"
printf 'HTTP/1.0 404 Not Found\r\nServer: x\r\n\r\n' >"$SEEDS/httpstatus/404"

# The targets write each input to a file: a folder in memory where there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR="/dev/shm/halvora-fuzz-$$"
else
  export TMPDIR="$BUILD/fuzz/tmp"
fi
REPORT="$BUILD/fuzz/report.txt"
: >"$REPORT"
failed=0
for seeds in "$SEEDS"/*/; do
  name="$(basename "$seeds")"
  corpus="$BUILD/fuzz/corpus/$name"
  findings="$BUILD/fuzz/findings/$name"
  log="$BUILD/fuzz/$name.log"
  rm -rf "$TMPDIR"
  mkdir -p "$corpus" "$findings" "$TMPDIR"
  echo "fuzz: $name for ${SECONDS_EACH}s"
  rc=0
  # The pack check prints its problems: keep them out of the log.
  "$BUILD/fuzz/fuzz_$name" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -close_fd_mask=3 -artifact_prefix="$findings/" \
    "$corpus" "$seeds" >"$log" 2>&1 || rc=$?
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  if [ $rc -ne 0 ]; then
    failed=1
    echo "$name: FINDING after ${execs:-?} executions (see $log and $findings)" | tee -a "$REPORT"
  else
    echo "$name: ${execs:-?} executions in ${SECONDS_EACH}s, no finding" | tee -a "$REPORT"
  fi
done
rm -rf "$TMPDIR"
echo "fuzz: report in $REPORT"
exit $failed
