#!/usr/bin/env bash
# Builds the Debian package of the build into a temporary folder and checks it: its control
# data, its files, lintian without errors or warnings, and the hardening lintian looks for.
# Usage (CTest runs it): check-package.sh <build folder> hardened|unhardened
set -euo pipefail
build=$(realpath "$1")
hardening=$2
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
packages=("$work"/velmora_*.deb)
[ ${#packages[@]} = 1 ] && [ -f "${packages[0]}" ] || fail "no single velmora_*.deb"
deb=${packages[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "package name $(field Package)"
[ "$(field Section)" = math ] || fail "section $(field Section)"
# dpkg-shlibdeps has filled in the libraries; the window system plug-ins and libcurl, which are
# opened at run time, are named by hand.
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins libcurl4; do
    field Depends | grep -q "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done
# The toolkit's own texts in Russian and Ukrainian (standard buttons, context menus).
field Recommends | grep -q qt6-translations-l10n || fail "Recommends lacks qt6-translations-l10n"

dpkg-deb --contents "$deb" | awk '{ print $6 }' > "$work/contents"
for file in ./usr/bin/velmora ./usr/bin/velmora-help ./usr/bin/velmora-cli \
    ./usr/share/applications/velmora.desktop ./usr/share/velmora/language/English.lng \
    ./usr/share/velmora/help/en/index.html ./usr/share/velmora/License.txt \
    ./usr/share/doc/velmora/copyright ./usr/share/man/man1/velmora-cli.1.gz; do
    grep -qxF "$file" "$work/contents" || fail "the package lacks $file"
done
# Nothing of the tests or benchmarks.
if grep -E '/(tst_|bench_)' "$work/contents"; then fail "the package holds test programs"; fi

lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" > /dev/null 2>&1 || fail "lintian finds errors or warnings"
# The programs are built with Debian's hardening flags, which lintian notes only as information.
if [ "$hardening" = hardened ]; then
    lintian --display-info "$deb" > "$work/lintian.txt" 2>&1 || true
    if grep -E 'hardening-' "$work/lintian.txt" >&2; then fail "the programs lack hardening"; fi
fi
echo "built and checked $(basename "$deb")"
