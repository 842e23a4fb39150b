#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user of the installed programs
# gets: the files in their places, both programs starting, the maps found from another folder,
# and the desktop files valid where the validators are installed.
set -euo pipefail
build_dir=$1
maps_check=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

for file in bin/korvelin bin/korvelin-calc \
            share/korvelin/Карты/1.jpg share/korvelin/Карты/2.jpg share/korvelin/Карты/3.jpg \
            share/doc/korvelin/guide.ru.md share/doc/korvelin/guide.ru.html share/doc/korvelin/feedback.ru.html \
            share/applications/org.korvelin.Korvelin.desktop \
            share/icons/hicolor/scalable/apps/org.korvelin.Korvelin.svg \
            share/metainfo/org.korvelin.Korvelin.metainfo.xml \
            share/mime/packages/org.korvelin.Korvelin.xml \
            share/man/man1/korvelin.1.gz share/man/man1/korvelin-calc.1.gz \
            share/doc/korvelin/copyright share/doc/korvelin/changelog.Debian.gz; do
  [ -e "$prefix/$file" ] || { echo "missing after install: $file"; exit 1; }
done

cd "$(mktemp -d)"
version=$("$prefix/bin/korvelin-calc" --version)
[ "$version" = "korvelin-calc @PROJECT_VERSION@" ] || { echo "unexpected version: $version"; exit 1; }
"$prefix/bin/korvelin-calc" --sep , | grep -q "статического расчета на прочность: 18,441 м" \
  || { echo "the installed korvelin-calc does not compute the start-up pipe"; exit 1; }
"$prefix/bin/korvelin-calc" --sep , --save pipe.korvelin --snow 2 >/dev/null
"$prefix/bin/korvelin-calc" --sep , --input pipe.korvelin | grep -q "статического расчета на прочность: 16,771 м" \
  || { echo "the installed korvelin-calc does not read back the set it saved"; exit 1; }

# The window runs until it is closed: still running after two seconds means it started.
set +e
QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/korvelin"
status=$?
set -e
[ $status -eq 124 ] || { echo "the installed korvelin ended with status $status"; exit 1; }
# The same with the set saved above named on the command line, as the desktop passes it.
set +e
QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/korvelin" pipe.korvelin
status=$?
set -e
[ $status -eq 124 ] || { echo "the installed korvelin ended with status $status on a file"; exit 1; }

"$maps_check" "$prefix/bin" "$prefix/share/korvelin/Карты"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/org.korvelin.Korvelin.desktop"
fi
grep -qx 'MimeType=application/x-korvelin;' "$prefix/share/applications/org.korvelin.Korvelin.desktop" \
  || { echo "the desktop entry does not open input files"; exit 1; }
# The type database built from the installed package finds a saved set by its name.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1
  grep -q '^application/x-korvelin:\*\.korvelin$' "$prefix/share/mime/globs" \
    || { echo "the input file type is not in the type database"; exit 1; }
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.korvelin.Korvelin.metainfo.xml" >/dev/null
fi
echo "install checked in $prefix"
