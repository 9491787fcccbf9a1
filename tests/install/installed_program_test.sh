#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed tree, and starts the installed
# program from a foreign working folder with a read-only program folder: it must open the default
# chord table from the data folder and keep its settings in the user's configuration folder.
# Usage: installed_program_test.sh <build> <app id> <icon sizes> <bin dir> <data dir> <export installed 0/1>
#        <table dump program>
set -euo pipefail
build=$1 id=$2 sizes=$3 bindir=$4 datadir=$5 with_export=$6 dump_program=$7
table="Gitarre, E-A-D-G-H-E.cho"

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "install"; }

share=$prefix/$datadir
expected=(
    "$prefix/$bindir/zupfwerk"
    "$share/zupfwerk/$table"
    "$share/applications/$id.desktop"
    "$share/icons/hicolor/scalable/apps/$id.svg"
    "$share/mime/packages/$id.xml"
    "$share/metainfo/$id.metainfo.xml"
    "$share/man/man1/zupfwerk.1.gz"
    "$share/man/de/man1/zupfwerk.1.gz"
    "$share/doc/zupfwerk/copyright"
    "$share/doc/zupfwerk/changelog.Debian.gz"
)
for size in ${sizes//;/ }; do
    expected+=("$share/icons/hicolor/${size}x${size}/apps/$id.png")
done
[ "$with_export" = 1 ] && expected+=("$prefix/$bindir/zupfwerk-export" "$share/man/man1/zupfwerk-export.1.gz")
for f in "${expected[@]}"; do
    [ -f "$f" ] || fail "not installed: ${f#$prefix/}"
done
[ -x "$prefix/$bindir/zupfwerk" ] || fail "the program is not executable"
for size in ${sizes//;/ }; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    # Width and height stand big-endian at bytes 16..23 of a PNG.
    dims=$(od -An --endian=big -tu4 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    [ "$dims" = "$size $size" ] || fail "$png is not ${size}x${size} ($dims)"
done
desktop-file-validate "$share/applications/$id.desktop" || fail "installed desktop entry"

# The file type: the database built from the installed package names it, with both magics.
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" 2> "$work/mime.log" || { cat "$work/mime.log"; fail "mime database"; }
[ -s "$work/mime.log" ] && { cat "$work/mime.log"; fail "warnings from update-mime-database"; }
[ -f "$share/mime/application/x-zupfwerk-grifftabelle.xml" ] || fail "mime type not in the database"
# ChordPro songs end in .cho too: the magic alone names a chord table, so a song is no chord table.
grep -q '\*\.cho' "$share/mime/globs2" && fail "a glob *.cho would name ChordPro songs chord tables"
cp "$share/zupfwerk/$table" "$work/tabelle.cho"
printf '{title: Lied}\n[Am]Eins [G/B]zwei\n' > "$work/lied.cho"
query() { XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" xdg-mime query filetype "$1" 2>/dev/null; }
[ "$(query "$work/tabelle.cho")" = application/x-zupfwerk-grifftabelle ] || fail "xdg-mime: table is $(query "$work/tabelle.cho")"
[ "$(query "$work/lied.cho")" != application/x-zupfwerk-grifftabelle ] || fail "xdg-mime: a ChordPro song is a chord table"
grep -aq ZW02 "$share/mime/magic" && grep -aq ZW01 "$share/mime/magic" || fail "magic ZW02/ZW01 missing"

# The program folder cannot be written: as root, the program runs as nobody, since root writes anywhere.
chmod 755 "$work"
chmod a-w "$prefix/$bindir"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
mkdir -p "$work/elsewhere" "$work/home" "$work/config"
[ ${#run_as[@]} -gt 0 ] && chown 65534:65534 "$work/elsewhere" "$work/home" "$work/config"

# Starts the installed program in the foreign folder with the given arguments and waits until its
# start-up wrote the fret count, the last thing the start writes; then ends it.
start_program() {
    local config=$1
    shift
    (cd "$work/elsewhere" && exec env HOME="$work/home" XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$work/data" \
        QT_QPA_PLATFORM=offscreen "${run_as[@]}" "$prefix/$bindir/zupfwerk" "$@") \
        > "$work/program.log" 2>&1 &
    pid=$!
    local ini=$config/Zupfwerk/Zupfwerk.ini
    for _ in $(seq 1 300); do
        grep -qs '^Bundanz1=' "$ini" && break
        kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended on its own"; }
        sleep 0.1
    done
    grep -qs '^Bundanz1=' "$ini" || { cat "$work/program.log"; fail "no settings in $ini"; }
    kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended on its own"; }
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""
}

start_program "$work/config"
ini=$work/config/Zupfwerk/Zupfwerk.ini
grep -qxF "LetzteDatei=$share/zupfwerk/$table" "$ini" ||
    { cat "$ini"; fail "the default chord table was not opened from the data folder"; }
[ ! -e "$prefix/$bindir/Zupfwerk.ini" ] || fail "settings beside the read-only program"

# A chord table named on the command line, relative to the working folder, opens instead.
cp "$share/zupfwerk/$table" "$work/elsewhere/Eigene.cho"
chmod a+r "$work/elsewhere/Eigene.cho"
mkdir -p "$work/config2"
[ ${#run_as[@]} -gt 0 ] && chown 65534:65534 "$work/config2"
start_program "$work/config2" Eigene.cho
grep -qxF "LetzteDatei=$work/elsewhere/Eigene.cho" "$work/config2/Zupfwerk/Zupfwerk.ini" ||
    { cat "$work/config2/Zupfwerk/Zupfwerk.ini"; fail "the table on the command line was not opened"; }

# The installed table is a template: a grip built and stored with real key presses, then Ctrl+S, saves
# it into the user's data folder, which the next start opens with that grip.
if command -v Xvfb > /dev/null && command -v xdotool > /dev/null; then
    mkdir -p "$work/config3" "$work/data"
    [ ${#run_as[@]} -gt 0 ] && chown 65534:65534 "$work/config3" "$work/data"
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -ac > "$work/display" 2> "$work/xvfb.log" &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; cleanup' EXIT
    for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=:$(head -n1 "$work/display")
    (cd "$work/elsewhere" && exec env HOME="$work/home" XDG_CONFIG_HOME="$work/config3" XDG_DATA_HOME="$work/data" \
        DISPLAY="$display" QT_QPA_PLATFORM=xcb "${run_as[@]}" "$prefix/$bindir/zupfwerk") > "$work/program.log" 2>&1 &
    pid=$!
    x() { DISPLAY="$display" xdotool "$@" 2> /dev/null; }
    windows() { x search --all --onlyvisible --pid "$pid" --name . getwindowname %@; }
    giving_up() { windows >&2; cat "$work/program.log" >&2; fail "$*"; }
    # --all: without it xdotool takes any window of the process, such as the chord-table window.
    window_named() { x search --all --onlyvisible --pid "$pid" --name "$1" | head -n1; }
    # Without a window manager the focus stays where it was put: each key goes to the window focused
    # last, so the focus is set and awaited before keys are sent.
    focus() {
        x windowfocus --sync "$1"
        for _ in $(seq 1 100); do [ "$(x getwindowfocus -f)" = "$1" ] && return; sleep 0.1; done
        giving_up "no focus on window $1"
    }
    wait_window() {
        local w=""
        for _ in $(seq 1 300); do
            w=$(window_named "$1")
            [ -n "$w" ] && break
            kill -0 "$pid" 2>/dev/null || giving_up "the program ended on its own"
            sleep 0.1
        done
        [ -n "$w" ] || giving_up "no window '$1'"
        echo "$w"
    }
    dump() { "$dump_program" "$1"; }
    grips() { dump "$1" | grep -c '^griff' || true; }
    main=$(wait_window '^Zupfwerk - Gitarre')
    wait_window '^Grifftabelle$' > /dev/null
    # The start ends with the fret count written; keys sent before that may be lost.
    for _ in $(seq 1 100); do grep -qs '^Bundanz1=' "$work/config3/Zupfwerk/Zupfwerk.ini" && break; sleep 0.1; done
    installed=$(grips "$share/zupfwerk/$table")
    # F major on the four low strings, which the installed table lacks: Shift+Del takes all fingers
    # off, the arrows walk from fret 1 of the low E string, Insert puts a finger down.
    grip=1-3-3-2-x-x
    dump "$share/zupfwerk/$table" | grep -qP "\t$grip\t" && fail "the installed table has $grip already"
    focus "$main"
    x key --delay 60 shift+Delete Insert Up Right Right Insert Up Insert Up Left Insert s
    dialog=$(wait_window '^Griff in Grifftabelle speichern$')
    focus "$dialog"
    x key --delay 60 Return
    for _ in $(seq 1 100); do [ -z "$(window_named '^Griff in Grifftabelle speichern$')" ] && break; sleep 0.1; done
    [ -z "$(window_named '^Griff in Grifftabelle speichern$')" ] || giving_up "the store dialog stayed open"
    focus "$main"
    x key --delay 60 ctrl+s
    own="$work/data/Zupfwerk/$table"
    for _ in $(seq 1 100); do [ -s "$own" ] && break; sleep 0.1; done
    [ -s "$own" ] || giving_up "Ctrl+S did not save into the user's data folder"
    grep -qxF "LetzteDatei=$own" "$work/config3/Zupfwerk/Zupfwerk.ini" ||
        { cat "$work/config3/Zupfwerk/Zupfwerk.ini"; fail "the user's own table is not remembered"; }
    [ "$(head -c 4 "$own")" = ZW02 ] || fail "the user's table is no chord table"
    [ "$(grips "$own")" -eq $((installed + 1)) ] ||
        fail "the user's table holds $(grips "$own") grips, not the installed $installed and one more"
    dump "$own" | grep -P "\t$grip\t" | grep -qP "\tF\t" || fail "the user's table has no F grip $grip"
    [ "$(grips "$share/zupfwerk/$table")" -eq "$installed" ] || fail "the installed table changed"
    kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""
    kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
    # The next start opens the user's own table, with the grip.
    start_program "$work/config3"
    grep -qxF "LetzteDatei=$own" "$work/config3/Zupfwerk/Zupfwerk.ini" || fail "the next start left the user's table"
    dump "$own" | grep -qP "\t$grip\t" || fail "the next start lost the stored grip"
    echo "the installed table is a template for the user's own: ok"
else
    echo "skipped the template case: Xvfb or xdotool missing"
fi

# Two tables, or an unknown option: a usage text on standard error and a failing exit code.
for args in "Eins.cho Zwei.cho" "--bunt"; do
    set +e
    # shellcheck disable=SC2086
    (cd "$work/elsewhere" && QT_QPA_PLATFORM=offscreen "$prefix/$bindir/zupfwerk" $args) \
        > "$work/out.log" 2> "$work/err.log"
    code=$?
    set -e
    [ "$code" -eq 2 ] || fail "'zupfwerk $args' ended with $code, not 2"
    grep -q "^Aufruf: zupfwerk" "$work/err.log" || fail "'zupfwerk $args' printed no usage on standard error"
    [ ! -s "$work/out.log" ] || fail "'zupfwerk $args' wrote to standard output"
done
echo "installed tree, file type and start from a foreign folder: ok"
