#!/usr/bin/env bash
# check_package.sh BUILD_DIR VERSION DATE: builds the Debian package from a built tree, unpacks it into
# a temporary root as dpkg would install it, and checks it as a desktop sees it: the programs
# run from there, the desktop entry, metainfo and MIME type validate, both manual pages render
# and say what --help says, and the completion loads in bash and completes.
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
release_date=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# tool:package pairs; where one is missing the test is skipped, or fails where every tool is
# required (QUORBEL_REQUIRE_TOOLS, as make test sets it).
for need in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file lintian:lintian \
    desktop-file-validate:desktop-file-utils appstreamcli:appstream \
    update-mime-database:shared-mime-info man:man-db xmllint:libxml2-utils python3:python3; do
    if ! command -v "${need%%:*}" >/dev/null; then
        echo "${need%%:*} not found (Debian package ${need##*:})"
        [ -n "${QUORBEL_REQUIRE_TOOLS:-}" ] && exit 1
        echo skipped
        exit 0
    fi
done
completion_lib=/usr/share/bash-completion/bash_completion
if [ ! -f "$completion_lib" ]; then
    echo "$completion_lib not found (Debian package bash-completion)"
    [ -n "${QUORBEL_REQUIRE_TOOLS:-}" ] && exit 1
    echo skipped
    exit 0
fi

# The package: its name, fields, and the dependencies dpkg-shlibdeps found.
cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/quorbel_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work/out")"
[ "$(dpkg-deb -f "$deb" Package)" = quorbel ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"
case "$(dpkg-deb -f "$deb" Section)" in science | electronics) ;; *) fail "section" ;; esac
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt: $(dpkg-deb -f "$deb" Depends)"
if dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/'; then
    fail "files outside /usr"
fi

# lintian: no errors; the warnings are printed for whoever reads the log.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q '^E: ' "$work/lintian.log"; then
    fail "lintian reports errors"
fi

root="$work/root"
dpkg -x "$deb" "$root"
usr="$root/usr"

# The unpacked programs run: the version, and a chart rendered to a PNG of the asked size.
[ "$("$usr/bin/quorbel-cli" --version)" = "quorbel-cli $version" ] || fail "--version"
"$usr/bin/quorbel-cli" --start 12.5,-30 --matchme 2,lowpass --size 640x480 -o "$work/chart.png"
file "$work/chart.png" | grep -q 'PNG image data, 640 x 480' || fail "render: $(file "$work/chart.png")"
# The picture writers are a module the tool finds from its own folder; the band plot is theirs too.
"$usr/bin/quorbel-cli" --start 12.5,-30 --band 400:470:11 --plot "$work/plot.svg" || fail "--plot"
grep -q '<svg' "$work/plot.svg" || fail "the plot is no SVG"

# Desktop entry, metainfo and MIME type as their own validators see them.
desktop="$usr/share/applications/quorbel.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
metainfo="$usr/share/metainfo/example.quorbel.quorbel.metainfo.xml"
appstreamcli validate --no-net --no-color "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
if grep -E '^(E|W): ' "$work/appstream.log"; then
    fail "appstreamcli warns"
fi
# The newest release the metainfo and the changelog list is this version, of the date the manual
# pages show.
grep -m1 '<release ' "$metainfo" | grep -q "version=\"$version\" date=\"$release_date\"" ||
    fail "metainfo's newest release is not $version of $release_date"
zcat "$usr/share/doc/quorbel/changelog.gz" | head -1 | grep -q "^quorbel ($version) " ||
    fail "changelog's newest entry is not $version"
mime="$usr/share/mime/packages/quorbel.xml"
xmllint --noout "$mime" || fail "MIME file is not well-formed"
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
out=$(XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>&1) || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
grep -qx 'application/x-quorbel' "$work/mime/types" || fail "MIME type not registered"
grep -q ':application/x-quorbel:\*\.qbl$' "$work/mime/globs2" || fail "no *.qbl glob"
# The entry opens the type, and every icon it and the type name is there.
grep -qx 'MimeType=application/x-quorbel;' "$desktop" || fail "desktop MimeType"
grep -qx 'Exec=quorbel %f' "$desktop" || fail "desktop Exec"
for icon in apps/quorbel mimetypes/application-x-quorbel; do
    [ -f "$usr/share/icons/hicolor/scalable/$icon.svg" ] || fail "no scalable $icon"
    for size in 16 22 24 32 48 64 128 256; do
        file "$usr/share/icons/hicolor/${size}x$size/$icon.png" |
            grep -q "PNG image data, $size x $size" || fail "$icon at $size"
    done
done

# Both manual pages render without a warning, and the CLI's says every word --help says.
for page in quorbel quorbel-cli; do
    LC_ALL=C MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" \
        >"$work/$page.txt" 2>"$work/$page.err" || fail "man -l $page"
    [ ! -s "$work/$page.err" ] || { cat "$work/$page.err"; fail "man $page warns"; }
    grep -q '^NAME' "$work/$page.txt" || fail "$page has no NAME"
done
"$usr/bin/quorbel-cli" --help >"$work/help.txt"
python3 - "$work/help.txt" "$work/quorbel-cli.txt" <<'PY' || fail "the manual page and --help differ"
import collections, sys
def words(path):
    text = open(path, encoding="utf-8").read().replace("\u2010", "-")
    return collections.Counter(w.rstrip(":").lower() for w in text.split())
missing = words(sys.argv[1]) - words(sys.argv[2])
if missing:
    print("in --help, not in the manual page:", dict(missing))
    sys.exit(1)
PY

# The completion loads in bash and completes an option, and a file option's file names.
completion="$usr/share/bash-completion/completions/quorbel-cli"
mkdir "$work/files" && cd "$work/files"
touch a.qbl b.png c.s1p notes.txt
result=$(bash -c '
    source "$1"
    source "$2"
    complete -p quorbel-cli >/dev/null || exit 1
    complete_line() {
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        _quorbel_cli quorbel-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
        printf "%s " "${COMPREPLY[@]}"
        echo
    }
    complete_line quorbel-cli --sa
    complete_line quorbel-cli --save ""
    complete_line quorbel-cli --start-data ""
    complete_line quorbel-cli -o ""
' bash "$completion_lib" "$completion")
expected='--save 
a.qbl 
c.s1p 
b.png '
[ "$result" = "$expected" ] || fail "completion gave:
$result"
echo "package checked: $(basename "$deb")"
