#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs a build folder into a scratch DESTDIR and checks what lands there.
#   check-install-tree.sh BUILD_FOLDER VERSION WITH_WINDOW(ON/OFF) LICENSE
# Then makes the Debian package of the build and runs lintian on it.
set -uo pipefail
build=$1 version=$2 window=$3 license=$4
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

# The Russian engines' plugin lies in plugins/ beside the programs, and the
# lookup finds it through its link when a query needs Russian base forms.
[ -f "$root/lib/kelimbo/plugins/kelimbo-russian.so" ] ||
    fail "lib/kelimbo/plugins/kelimbo-russian.so is missing"
if [ -f /usr/share/hunspell/ru_RU.dic ]; then
    answer=$("$root/bin/kelimbo-lookup" --forms любили 2>&1) || fail "kelimbo-lookup --forms failed"
    [ "$answer" = "$(printf 'любить\tлюбить')" ] || fail "kelimbo-lookup --forms любили answered '$answer'"
fi

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

grep -q "<project_license>$license</project_license>" "$metainfo" ||
    fail "the metainfo does not declare $license"

# The licence, the changelog, and a manual page for each program that names
# every option its --help names.
doc=$root/share/doc/kelimbo
[ -s "$doc/copyright" ] || fail "share/doc/kelimbo/copyright is missing"
grep -q "^License: GPL-2+" "$doc/copyright" || fail "the copyright file names no GPL-2+"
gzip -t "$doc/changelog.gz" 2>/dev/null || fail "share/doc/kelimbo/changelog.gz is missing"
for program in "${programs[@]}"; do
    page=$root/share/man/man1/$program.1.gz
    if ! gzip -t "$page" 2>/dev/null; then
        fail "share/man/man1/$program.1.gz is missing"
        continue
    fi
    help=$("$root/bin/$program" --help) || fail "$program --help failed"
    [ -n "$help" ] || fail "$program --help printed nothing on the standard output"
    "$root/bin/$program" --version | grep -qx "$program $version" || fail "$program --version"
    text=$(gzip -dc "$page" | sed 's/\\-/-/g')
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
        grep -qF -- "$option" <<<"$text" || fail "$program.1 does not name $option"
    done
done

# An installed copy, run by an ordinary user, reads a dictionary of the
# user's own in $XDG_DATA_HOME/kelimbo/ and its installed one otherwise.
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$stage"
    data=$(mktemp -d /tmp/kelimbo-data.XXXXXX)
    trap 'rm -rf "$stage" "$data"' EXIT
    mkdir "$data/kelimbo"
    printf 'zzkelimbo\tmia vorto\n' >"$data/eo.tsv"
    printf 'яякелимбо\tmia vorto\n' >"$data/ru.tsv"
    "$root/bin/kelimbo-index" build --lang eo --out "$data/kelimbo" "$data/eo.tsv" >/dev/null &&
        "$root/bin/kelimbo-index" build --lang ru --out "$data/kelimbo" "$data/ru.tsv" >/dev/null ||
        fail "kelimbo-index build into the user's folder"
    chmod -R a+rX "$data"
    as_user() {
        setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/nonexistent "$@"
    }
    answer=$(as_user XDG_DATA_HOME="$data" "$root/bin/kelimbo-lookup" zzkel)
    [ "$answer" = "zzkelimbo" ] || fail "with XDG_DATA_HOME, the lookup answered '$answer'"
    answer=$(as_user XDG_DATA_HOME=/nonexistent "$root/bin/kelimbo-lookup" cxapel)
    grep -q "ĉapelo" <<<"$answer" || fail "without a user's dictionary: '$answer'"
else
    echo "not root: the installed copy is not tried as another user"
fi

# The Debian package: lintian finds nothing but the Windows-1251 sample text,
# whose encoding is the format's own.
if command -v lintian >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    debs=$(mktemp -d /tmp/kelimbo-deb.XXXXXX)
    trap 'rm -rf "$stage" "${data:-}" "$debs"' EXIT
    if cpack -G DEB -B "$debs" --config "$build/CPackConfig.cmake" >"$debs/cpack.log" 2>&1; then
        deb=$(ls "$debs"/kelimbo_*.deb)
        # (Its own remarks, such as on running as root, go to the error output.)
        tags=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -v "national-encoding")
        [ -z "$tags" ] || fail "lintian: $tags"
    else
        cat "$debs/cpack.log" >&2
        fail "cpack -G DEB"
    fi
else
    fail "lintian or dpkg-shlibdeps is missing (scripts/test installs them)"
fi

[ $failures -eq 0 ] && echo "installed tree is complete"
exit $((failures > 0))
