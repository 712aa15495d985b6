#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root, checks what it holds and declares,
# and starts the unpacked program on a virtual display to see that it finds its own library.
# Usage: check-package.sh <build dir> <demo_on_display>
set -euo pipefail
build_dir=$1
driver=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build_dir" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/lyrinth-demo_*.deb)
dpkg-deb -x "$deb" "$scratch/root"

failures=0
expect() {
    if [ -e "$scratch/root/$1" ] || [ -L "$scratch/root/$1" ]; then
        echo "package: has $1"
    else
        echo "package: MISSING $1"
        failures=$((failures + 1))
    fi
}
expect usr/bin/lyrinth-demo
expect usr/include/lyrinth.h
for pattern in 'usr/lib/*liblyrinth.so.1' 'usr/lib/*pkgconfig/lyrinth.pc' \
    'usr/share/applications/*.desktop' 'usr/share/metainfo/*.metainfo.xml' \
    'usr/share/icons/hicolor/*/apps/*'; do
    found=$(cd "$scratch/root" && find . -path "./$pattern" | sed 's#^\./##' | head -n 1)
    if [ -n "$found" ]; then expect "$found"; else
        echo "package: MISSING $pattern"
        failures=$((failures + 1))
    fi
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "package: Depends: $depends"
for needed in fluid-soundfont-gm libfluidsynth libsdl2 libsndfile libqt6widgets; do
    if ! grep -q "$needed" <<<"$depends"; then
        echo "package: does not depend on $needed"
        failures=$((failures + 1))
    fi
done

# The unpacked program must run with the library that sits beside it, not the build's.
if ! "$driver" "$scratch/root/usr/bin/lyrinth-demo"; then
    echo "package: the unpacked program did not run"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "package: all checks passed"
exit $((failures > 0))
