#!/usr/bin/env bash
# Installs a build folder into a scratch DESTDIR and checks what lands there.
#   check-install-tree.sh BUILD_FOLDER VERSION WITH_WINDOW(ON/OFF)
set -uo pipefail
build=$1 version=$2 window=$3
stage=$(mktemp -d /tmp/kelimbo-install.XXXXXX)
trap 'rm -rf "$stage"' EXIT
prefix=/usr
root=$stage$prefix
id=org.kelimbo.Kelimbo
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null || {
    echo "FAIL: cmake --install" >&2
    exit 1
}

programs=(kelimbo-lookup kelimbo-index)
[ "$window" = ON ] && programs+=(kelimbo)
for program in "${programs[@]}"; do
    [ -x "$root/lib/kelimbo/$program" ] || fail "lib/kelimbo/$program is missing"
    [ -L "$root/bin/$program" ] || fail "bin/$program is not a link"
    target=$(readlink "$root/bin/$program")
    [ "$target" = "../lib/kelimbo/$program" ] || fail "bin/$program points to '$target'"
done
for data in EoRu_kelimbo.txt EoRu_kelimbo.bsi tarnesk_rusa_esperanto.txt tarnesk_rusa_esperanto.bsi; do
    [ -s "$root/lib/kelimbo/$data" ] || fail "lib/kelimbo/$data is missing"
done
[ -e "$root/lib/kelimbo/historio.bin" ] && fail "a history file was installed"

# The lookup runs through its link and finds its data in lib/kelimbo.
answer=$("$root/bin/kelimbo-lookup" cxapel) || fail "kelimbo-lookup cxapel failed"
grep -q "ĉapelo" <<<"$answer" || fail "kelimbo-lookup cxapel answered '$answer'"

desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || {
    appstreamcli validate --no-net "$metainfo" >&2
    fail "appstreamcli validate"
}
grep -q "<release version=\"$version\"" "$metainfo" || fail "no release $version in the metainfo"

icons=$root/share/icons/hicolor
[ -s "$icons/scalable/apps/$id.svg" ] || fail "scalable icon is missing"
for size in 48 64 128 256; do
    png=$icons/${size}x${size}/apps/$id.png
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" 2>/dev/null |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "${w:-0}x${h:-0}" = "${size}x${size}" ] || fail "$png is ${w:-?}x${h:-?}"
done

[ $failures -eq 0 ] && echo "installed tree is complete"
exit $((failures > 0))
