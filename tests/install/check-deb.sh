#!/usr/bin/env bash
# check-deb.sh BUILD_DIR APP_ID VERSION
# Builds the .deb from the build folder into a scratch folder and checks its
# version, its contents, that it depends on the shared libraries the program
# links against and on the Qt plugins it loads at run time, and that lintian
# has no error and no warning for it.
set -euo pipefail
build=$1 id=$2 version=$3

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
log=$(cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" 2>&1) || { echo "$log"; exit 1; }
deb=$(find "$out" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || { echo "$log"; echo "FAIL: cpack made no .deb"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The first Debian revision of the release being built.
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "the package is version $(dpkg-deb -f "$deb" Version)"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
dependNames=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
# From dpkg-shlibdeps, then the ones it cannot see.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libexiv2-27 libtag1v5 libavformat59 \
               libqt6svg6 qt6-qpa-plugins fonts-liberation2; do
  grep -qxF -- "$package" <<<"$dependNames" || fail "Depends lacks $package"
done

recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw qt6-wayland <<<"$recommends" || fail "Recommends lacks qt6-wayland (it is '$recommends')"

contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
doc=./usr/share/doc/tolvex-file-renamer
for path in ./usr/bin/tolvex-file-renamer \
            ./usr/bin/tolvex-rename \
            ./usr/share/man/man1/tolvex-file-renamer.1.gz \
            ./usr/share/man/man1/tolvex-rename.1.gz \
            $doc/copyright \
            $doc/changelog.Debian.gz \
            ./usr/share/applications/$id.desktop \
            ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/$id.svg \
            ./usr/share/icons/hicolor/48x48/apps/$id.png; do
  grep -qx -- "$path" <<<"$contents" || fail "the package lacks $path"
done

# The changelog's newest entry is the package being built.
unpacked=$out/unpacked
dpkg-deb -x "$deb" "$unpacked"
newest=$(gzip -dc "$unpacked/$doc/changelog.Debian.gz" | head -n1)
grep -qF "($version-1)" <<<"$newest" || fail "changelog.Debian.gz begins with '$newest', the package is $version-1"

if command -v lintian >/dev/null; then
  # As root lintian says so on stderr; every tag goes to stdout.
  report=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>/dev/null) || {
    echo "$report"
    fail "lintian reports errors or warnings"
  }
  grep -E '^[EW]: ' <<<"$report" && fail "lintian reports errors or warnings"
else
  fail "lintian is not installed"
fi

[ "$failures" -eq 0 ] || { echo "$failures problem(s) in the package"; exit 1; }
echo "package $(basename "$deb") complete"
