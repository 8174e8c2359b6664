#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what lands there: the program, its
# desktop entry and metainfo (validated), icons, manual and notices.
set -euo pipefail
build=$1 id=$2
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix/share"
for f in ../bin/quorix applications/$id.desktop metainfo/$id.metainfo.xml man/man1/quorix.1.gz \
         doc/quorix/{copyright,changelog.gz,README.md} \
         icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
    [ -s "$f" ] || { echo "missing from the install tree: $f"; exit 1; }
done
"$scripts/validate-desktop-files" .
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' metainfo/"$id".metainfo.xml)
[ "$(../bin/quorix --version)" = "quorix $release" ]
echo "install tree ok"
