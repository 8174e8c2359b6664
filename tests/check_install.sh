#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree and the desktop entry.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quorix share/applications/quorix.desktop share/icons/hicolor/32x32/apps/quorix.png \
         share/doc/quorix/README.md; do
    [ -e "$prefix/$f" ] || { echo "missing from the install tree: $f"; exit 1; }
done
[ -x "$prefix/bin/quorix" ] || { echo "bin/quorix is not executable"; exit 1; }
desktop-file-validate "$prefix/share/applications/quorix.desktop"
grep -q '^Categories=Game;Emulator;$' "$prefix/share/applications/quorix.desktop"
if grep -q '^Path=' "$prefix/share/applications/quorix.desktop"; then
    echo "the desktop entry must not set a working folder"; exit 1
fi
echo "install tree ok"
