#!/bin/bash
# Builds the release archives Wimmelpult-<version>-win32.zip and -win64.zip with
# SHA-256 sums in dist/. Two runs from the same commit give the same bytes:
# the programs carry no time stamps, and every file in the archives is
# dated to the commit.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build-release}
DIST=${DIST:-$ROOT/dist}
. "$ROOT/tools/lib.sh"
# Major and minor from the one place the version is written.
VERSION=$(sed -n 's/^project(Wimmelpult VERSION \([0-9]*\.[0-9]*\)[.0-9]* .*/\1/p' "$ROOT/CMakeLists.txt")
[ -n "$VERSION" ] || die "no version in the project() line of $ROOT/CMakeLists.txt"

# Every file in the archives is dated to the commit: without its date the
# archives could not be made again byte for byte.
EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>&1) ||
    die "git gave no commit date: ${EPOCH%%$'\n'*}"
case $EPOCH in '' | *[!0-9]*) die "git gave no commit date, but '$EPOCH'" ;; esac
# The documents say which version they describe in their first line.
for doc in LIESMICH.txt README.txt; do
    [ "$(head -n1 "$ROOT/docs/windows/$doc")" = "Wimmelpult $VERSION" ] ||
        die "docs/windows/$doc does not begin with \"Wimmelpult $VERSION\""
done

ensure_packages
BUILD_TARGET=Wimmelpult build_arch i686
BUILD_TARGET=Wimmelpult build_arch x86_64

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
