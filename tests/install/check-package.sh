#!/usr/bin/env bash
# Builds the Debian package of the build into a temporary folder and checks it as Debian's own
# checker does: lintian must report no error and no warning. Skipped (77) without lintian.
set -euo pipefail
build_dir=$1
command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
  || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/korvelin_*.deb)

contents=$(dpkg-deb -c "$deb")
for file in usr/share/doc/korvelin/copyright usr/share/doc/korvelin/changelog.Debian.gz \
            usr/share/man/man1/korvelin.1.gz usr/share/man/man1/korvelin-calc.1.gz; do
  grep -q " \./$file\$" <<<"$contents" || { echo "missing in the package: $file"; exit 1; }
done

# Qt's own texts in the user's language come from Debian's catalogues.
dpkg-deb -f "$deb" Depends | grep -q 'qt6-translations-l10n' \
  || { echo "the package does not depend on qt6-translations-l10n"; exit 1; }

lintian --fail-on error,warning "$deb"
echo "lintian found no error and no warning in $(basename "$deb")"
