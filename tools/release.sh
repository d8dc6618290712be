#!/bin/bash
# Builds the release archives Wimmelpult-1.1-win32.zip and -win64.zip with
# SHA-256 sums in dist/. Two runs from the same commit give the same bytes:
# the programs carry no time stamps, and every file in the archives is
# dated to the commit.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build-release}
DIST=${DIST:-$ROOT/dist}
VERSION=1.1
. "$ROOT/tools/lib.sh"

ensure_packages
BUILD_TARGET=Wimmelpult build_arch i686
BUILD_TARGET=Wimmelpult build_arch x86_64

EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 0)
rm -rf "$DIST"
mkdir -p "$DIST"
for pair in i686:win32 x86_64:win64; do
    arch=${pair%%:*}
    name="Wimmelpult-$VERSION-${pair##*:}"
    stage="$BUILD_ROOT/stage/$name"
    rm -rf "$stage"
    mkdir -p "$stage"
    cp "$BUILD_ROOT/$arch/bin/Wimmelpult.exe" "$stage/"
    # Windows users open these in Notepad: Windows-1252 with CR LF.
    for doc in LIESMICH.txt README.txt; do
        iconv -f UTF-8 -t WINDOWS-1252 "$ROOT/docs/windows/$doc" | sed 's/$/\r/' > "$stage/$doc"
    done
    sed 's/$/\r/' "$ROOT/LICENSE" > "$stage/LICENSE.txt"
    sed 's/$/\r/' "$ROOT/NOTICE" > "$stage/NOTICE.txt"
    files=(Wimmelpult.exe LIESMICH.txt README.txt LICENSE.txt NOTICE.txt)
    touch -h -d "@$EPOCH" "$stage" "${files[@]/#/$stage/}"
    (cd "$BUILD_ROOT/stage" && TZ=UTC zip -X -D -q "$DIST/$name.zip" "${files[@]/#/$name/}")
done
(cd "$DIST" && sha256sum Wimmelpult-$VERSION-win32.zip Wimmelpult-$VERSION-win64.zip > SHA256SUMS)
cat "$DIST/SHA256SUMS"
