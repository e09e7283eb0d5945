#!/bin/bash
# Checks of what the package installs, run by ctest:
#   check_package.sh desktop ENTRY...      desktop-file-validate, not a word from it
#   check_package.sh metainfo FILE...      appstreamcli validate --no-net
#   check_package.sh man PAGE...           groff -ww -man, not a warning
#   check_package.sh deb CPACK_CONFIG SOURCE_DIR VERSION HELP_CHECK BUILT_VIEWER
#       builds the package from the build tree, then checks its fields, its
#       file list, lintian against the warnings docs/packaging.md keeps, and
#       runs the programs unpacked into a temporary root.
set -u

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

check_desktop() {
    for entry in "$@"; do
        local said
        said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $entry"
        [ -z "$said" ] || fail "desktop-file-validate $entry: $said"
    done
}

check_metainfo() {
    appstreamcli validate --no-net "$@" || fail "appstreamcli validate $*"
}

check_man() {
    for page in "$@"; do
        local said
        said=$(LC_ALL=C.UTF-8 groff -ww -man -Tutf8 -z "$page" 2>&1) || fail "groff $page"
        [ -z "$said" ] || fail "groff -ww $page: $said"
    done
}

# Every file the package holds; the help pages are every page of help/.
expected_files() {
    local source_dir=$1 program size
    for program in vessor-usb vessor-graph vessor-logger; do
        echo "./usr/bin/$program"
        echo "./usr/share/man/man1/$program.1.gz"
    done
    for program in vessor-usb vessor-graph; do
        echo "./usr/share/applications/$program.desktop"
        echo "./usr/share/metainfo/example.meridane_electronics.${program//-/_}.metainfo.xml"
        echo "./usr/share/icons/hicolor/scalable/apps/$program.svg"
        for size in 16 22 24 32 48 64 128 256; do
            echo "./usr/share/icons/hicolor/${size}x${size}/apps/$program.png"
        done
    done
    echo "./usr/lib/udev/rules.d/60-vessor-usb.rules"
    echo "./usr/share/doc/vessor-usb/copyright"
    echo "./usr/share/doc/vessor-usb/changelog.gz"
    (cd "$source_dir/help" && ls -- *.html *.css *.png *.svg 2>/dev/null) | sed 's|^|./usr/share/vessor/help/|'
}

check_deb() {
    local config=$1 source_dir=$2 version=$3 help_check=$4 built_viewer=$5
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT

    if ! cpack -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log" >&2
        fail "cpack"
        return
    fi
    local deb
    deb=$(ls "$work"/out/vessor-usb_"$version"_*.deb 2>/dev/null | head -n 1)
    if [ -z "$deb" ]; then
        cat "$work/cpack.log" >&2
        fail "no vessor-usb_${version}_*.deb made"
        return
    fi

    # Fields: the version of the programs, dependencies from dpkg-shlibdeps.
    [ "$(dpkg-deb -f "$deb" Package)" = vessor-usb ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libc6 libqt6widgets6 libusb-1.0-0 libqcustomplot; do
        [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
    done
    [[ "$(dpkg-deb -f "$deb" Recommends)" == *xdg-utils* ]] || fail "Recommends lacks xdg-utils"

    # The file list, and root owning everything.
    dpkg-deb --contents "$deb" >"$work/contents"
    awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort >"$work/files"
    expected_files "$source_dir" | sort >"$work/expected"
    diff -u "$work/expected" "$work/files" >&2 || fail "the package's files differ from the layout (- expected, + packaged)"
    awk '$2 != "root/root" { print }' "$work/contents" >"$work/owners"
    [ ! -s "$work/owners" ] || fail "not owned by root: $(cat "$work/owners")"

    # lintian: no errors, and no warning but those docs/packaging.md keeps
    # ("- `tag`: why" under its heading "Lintian warnings kept").
    lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
    if grep -q '^E: ' "$work/lintian"; then
        fail "lintian errors: $(grep '^E: ' "$work/lintian")"
    fi
    awk '/^## / { kept = ($0 == "## Lintian warnings kept") } kept' \
        "$source_dir/docs/packaging.md" >"$work/kept"
    local tag
    for tag in $(awk '/^W: / { print $3 }' "$work/lintian" | sort -u); do
        grep -q -- "^- \`$tag\`:" "$work/kept" ||
            fail "lintian warning $tag is not among those docs/packaging.md keeps: $(grep " $tag" "$work/lintian")"
    done

    # The programs unpacked into a temporary root.
    local root=$work/root program said
    dpkg-deb -x "$deb" "$root"
    for program in vessor-usb vessor-graph vessor-logger; do
        # Standard error may hold Qt's words about the machine.
        said=$("$root/usr/bin/$program" --version 2>/dev/null)
        [ "$said" = "$program $version" ] || fail "$program --version: $said"
        said=$("$root/usr/bin/$program" --help 2>/dev/null) || fail "$program --help: status $?"
        [[ "$said" == "Usage: $program"* ]] || fail "$program --help: $said"
    done
    local golden=$source_dir/tests/data/graph/temperature-day.txt
    if "$root/usr/bin/vessor-graph" --export-png "$work/installed.png" "$golden" &&
        "$built_viewer" --export-png "$work/built.png" "$golden"; then
        cmp -s "$work/installed.png" "$work/built.png" ||
            fail "the installed vessor-graph draws $golden otherwise than the built one"
    else
        fail "vessor-graph --export-png $golden"
    fi
    "$help_check" "$root" || fail "help pages not found where the package installs them"
    for page in "$root"/usr/share/man/man1/*.1.gz; do
        zcat "$page" >"$work/page.1"
        check_man "$work/page.1"
    done
}

mode=$1
shift
case $mode in
desktop) check_desktop "$@" ;;
metainfo) check_metainfo "$@" ;;
man) check_man "$@" ;;
deb) check_deb "$@" ;;
*)
    echo "check_package.sh: unknown check $mode" >&2
    exit 2
    ;;
esac
[ "$failures" -eq 0 ]
