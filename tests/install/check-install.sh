#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every file is in its standard place
# and passes the desktop validators, then starts the installed programs from an empty folder
# with a home of their own: each must find its data through its own prefix and open nothing
# of the source or build tree.
# Usage (CTest runs it): check-install.sh <build folder> <source folder>
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

# Every file in its place.
expected=(
    bin/velmora bin/velmora-help bin/velmora-cli
    share/applications/velmora.desktop
    share/icons/hicolor/scalable/apps/velmora.svg
    share/velmora/language/Russian.lng share/velmora/language/English.lng
    share/velmora/language/Ukrainian.lng
    share/velmora/License.txt share/velmora/help/style.css
    share/man/man1/velmora.1.gz share/man/man1/velmora-cli.1.gz share/man/man1/velmora-help.1.gz
    share/doc/velmora/copyright share/doc/velmora/changelog.gz
)
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for program in velmora velmora-help velmora-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/velmora.png
    [ -f "$png" ] || fail "the ${size}x${size} icon is not installed"
    # Width and height are big-endian words at bytes 16 and 20 of a PNG file.
    read -r -a header <<< "$(od -An -tu1 -j16 -N8 "$png")"
    width=$(( (header[2] << 8) + header[3] ))
    height=$(( (header[6] << 8) + header[7] ))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x${height}"
done
for language in en ru uk; do
    for page in "$source"/help/pages/$language/*.html; do
        cmp -s "$page" "$prefix/share/velmora/help/$language/$(basename "$page")" ||
            fail "help page $language/$(basename "$page") is not installed"
    done
done
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
[ ${#metainfo[@]} = 1 ] && [ -f "${metainfo[0]}" ] || fail "no single metainfo file"
grep -q '<screenshot type="default">' "${metainfo[0]}" || fail "the metainfo has no screenshot"
for language in ru en uk; do
    grep -q "<lang>$language</lang>" "${metainfo[0]}" || fail "the metainfo lacks $language"
done

desktop-file-validate "$prefix/share/applications/velmora.desktop" ||
    fail "desktop-file-validate refuses velmora.desktop"
appstreamcli validate --no-net "${metainfo[0]}" > "$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli refuses $(basename "${metainfo[0]}")"; }

# A home of its own; settings that ask for Ukrainian and the version history, and no update
# check at start-up.
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$work/runtime
export VELMORA_REGISTRY=$work/registry.json
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
unset VELMORA_DATA_DIR
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/elsewhere"
chmod 700 "$XDG_RUNTIME_DIR"
cat > "$VELMORA_REGISTRY" << 'JSON'
{"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {
    "Language": "Ukrainian", "Auto update": "false", "Help index": "version history"}}}
JSON
cd "$work/elsewhere"

# Starts a program under strace, waits until it has opened every file named (at most 30 s),
# then ends it. The program runs under timeout, so it ends even if this script does not.
check_opens() {
    local program=$1
    shift
    local name
    name=$(basename "$program")
    local trace=$work/$name.trace
    rm -f "$trace"
    strace -f -qq -e trace=openat -o "$trace" timeout 60 "$program" > "$work/$name.log" 2>&1 &
    local tracer=$!
    local wanted all
    for _ in $(seq 300); do
        all=yes
        for wanted in "$@"; do
            grep -Eq "\"$wanted\", O_RDONLY[^)]*\) = [0-9]" "$trace" 2> /dev/null || all=no
        done
        [ $all = yes ] && break
        kill -0 "$tracer" 2> /dev/null || break
        sleep 0.1
    done
    pkill -TERM -P "$tracer" 2> /dev/null || true
    wait "$tracer" 2> /dev/null || true
    for wanted in "$@"; do
        grep -Eq "\"$wanted\", O_RDONLY[^)]*\) = [0-9]" "$trace" ||
            { cat "$work/$name.log" >&2; fail "$name did not open $wanted"; }
    done
    if grep -E "\"($source|$build)/[^\"]*\", [^)]*\) = [0-9]" "$trace" >&2; then
        fail "$name opened files of the source or build tree"
    fi
}

check_opens "$prefix/bin/velmora" "$prefix/share/velmora/language/Ukrainian.lng"
check_opens "$prefix/bin/velmora-help" "$prefix/share/velmora/help/uk/history.html" \
    "$prefix/share/velmora/help/style.css"
# The help has cleared the request it met.
grep -q '"Help index": ""' "$VELMORA_REGISTRY" || fail "velmora-help left Help index set"

# The command-line tool: the worked example, and a message from the installed language file.
[ "$("$prefix/bin/velmora-cli" solve 1 -3 2 | head -n 1)" = "x² - 3x + 2 = 0" ] ||
    fail "velmora-cli does not solve the worked example"
missing_a=$(awk -F= '/^\[/ { section = $0 } section == "[Messages]" && $1 == "7" { print $2 }' \
    "$source/language/Ukrainian.lng")
[ -n "$missing_a" ] || fail "no Messages line 7 in Ukrainian.lng"
status=0
said=$("$prefix/bin/velmora-cli" solve "" 1 2 2>&1) || status=$?
[ "$status" = 1 ] && [ "$said" = "$missing_a" ] ||
    fail "velmora-cli said '$said' (status $status), not the installed Ukrainian text"
zcat "$prefix/share/man/man1/velmora-cli.1.gz" | grep -q '^\.TH VELMORA-CLI 1' ||
    fail "the manual page of velmora-cli is not one"
# The manual pages read right where the terminal has only ASCII: no character is lost (troff
# warns of each it cannot draw), and the equations keep their powers.
for page in velmora velmora-cli velmora-help; do
    LC_ALL=C MANWIDTH=80 man -l "$prefix/share/man/man1/$page.1.gz" > "$work/$page.txt" \
        2> "$work/$page.warnings" || fail "man cannot show $page.1"
    [ ! -s "$work/$page.warnings" ] || fail "$page.1 in ASCII: $(cat "$work/$page.warnings")"
done
grep -qF 'ax^4 + bx^2 + c' "$work/velmora.txt" || fail "velmora.1 in ASCII loses the powers"
# A web address is never hyphenated, so it can be copied as it stands.
grep -qE '(^| )http://[^ ]+/index/velmora/0-23$' "$work/velmora.txt" ||
    fail "velmora.1 breaks the web address: $(grep -A1 'http' "$work/velmora.txt")"
grep -qF 'A.x^4 + B.x^2 + C' "$work/velmora-cli.txt" ||
    fail "velmora-cli.1 in ASCII loses the powers"
echo "installed into $prefix and started from there"
