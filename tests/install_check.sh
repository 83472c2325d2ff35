#!/usr/bin/env bash
# The installed calculator as users meet it. Installs the build into a temporary prefix and
# checks the desktop entry, the catalogue entry, the manual page, the file types and the icon;
# makes the prefix
# read-only and starts the installed program twice under Xvfb with a home of its own: switched
# on, 1 2 Enter 3 + keyed and closed, X and Y as keyrun computes them must be back in the second
# start, kept in that home's data folder and nowhere in the prefix; the window's class must be
# the desktop entry's StartupWMClass. Then makes the Debian package with CPack and checks what it
# holds and what it depends on, and that lintian finds no error or warning in it. Root writes
# anywhere, so as root the program runs as "nobody", as in e2e_readonly.sh.
#   install_check.sh BUILD_DIR READLIST
set -euo pipefail
build=$(cd "$1" && pwd) readlist=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
id=org.orrindale.Orrindale

source "$here/e2e_session.sh"
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp "$here/e2e_session.sh" "$work/"
cp "$build/clickpoints.txt" "$work/points"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null

installed=(bin/orrindale lib/orrindale/orrindale_audio.so lib/orrindale/orrindale_print.so
  share/orrindale/PM91B.dat share/orrindale/HP9100BHelp.pdf share/orrindale/Feed.wav
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" "share/mime/packages/$id.xml"
  "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png"
  "share/icons/hicolor/256x256/apps/$id.png" share/man/man1/orrindale.1.gz
  share/doc/orrindale/copyright share/doc/orrindale/changelog.gz)
for file in "${installed[@]}"; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
# Nothing of a run of the build comes along.
if find "$prefix" -name '*.ini' -o -name 'pvpt.dat' -o -name 'pf9B.dat' | grep -q .; then
  echo "settings or state were installed"; exit 1
fi
# A check that fails shows what it said.
quiet() { local said; said=$("$@" 2>&1) || { echo "$said"; return 1; }; }
desktop-file-validate "$prefix/share/applications/$id.desktop"
quiet appstreamcli validate --no-net --no-color --explain "$prefix/share/metainfo/$id.metainfo.xml"
# The manual page reads without a warning, as lintian reads it, and names itself.
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$prefix/share/man/man1/orrindale.1.gz" 2>&1 > /dev/null)
[ -z "$man_warnings" ] || { echo "the manual page: $man_warnings"; exit 1; }
lexgrog "$prefix/share/man/man1/orrindale.1.gz" | grep -q ': "orrindale - ' \
  || { echo "the manual page has no NAME line for orrindale"; exit 1; }
# The file types, as the desktop's database learns them.
mkdir -p "$work/mime/packages"
cp "$prefix/share/mime/packages/$id.xml" "$work/mime/packages/"
update-mime-database "$work/mime" > /dev/null
for pair in mcf:magnetic-card ocf:card-stack ptf:plot exm:memory; do
  grep -q "^50:application/x-orrindale-${pair#*:}:\*\.${pair%%:*}$" "$work/mime/globs2" \
    || { echo "no file type for *.${pair%%:*}"; exit 1; }
done
echo "installed files, desktop entry, metadata, manual page and file types: fine"

mkdir "$work/home"
as_user
chmod -R a-w "$prefix"
listing=$(ls -lR "$prefix")

cat > "$work/session.sh" <<'SESSION'
set -u
cd "$1"
runner=$2 phase=$3
source ./e2e_session.sh
E2E_PHASE=$phase
share_display "$runner"
cd /
# shellcheck disable=SC2086
launch '^HP9100B$' $runner "$1/prefix/bin/orrindale"
if [ "$phase" = first ]; then
  xprop -id "$wid" WM_CLASS > "$1/wm_class"
  power_on
  xdotool mousemove --window "$wid" 20 20
  keys_see "$wid" 1 2 Return 3 equal
fi
close_calculator
SESSION

state=$work/home/.local/share/Orrindale/cif9B.ini
want=$(keyed_sum "$build/bin/keyrun")
for phase in first second; do
  HOME=$work/home XDG_DATA_HOME= XDG_RUNTIME_DIR= e2e_run_session "$work" "$runner" "$phase"
  [ -f "$state" ] || { echo "$phase: no machine state in the user's data folder"; exit 1; }
  [ "$(ls -lR "$prefix")" = "$listing" ] || { echo "$phase: the prefix changed"; exit 1; }
  got=$(saved_sum "$readlist" "$state")
  echo "$phase start: kept in the user's data folder: $got"
  [ "$got" = "$want" ] || { echo "$phase: the engine computes $want"; exit 1; }
done
# The desktop matches the window to its entry by the class part of WM_CLASS.
wm_class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' "$work/wm_class")
grep -qx "StartupWMClass=$wm_class" "$prefix/share/applications/$id.desktop" \
  || { echo "the window's class is not the desktop entry's: $(cat "$work/wm_class")"; exit 1; }

# The Debian package.
rm -f "$build"/orrindale_*.deb
(cd "$build" && cpack -G DEB > "$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$build"/orrindale_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for file in "${installed[@]}"; do
  file=${file/#lib\//lib*/}
  # shellcheck disable=SC2053
  grep -q "^\./usr/${file//\*/[^/]*}$" "$work/contents" || { echo "not in the package: $file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6multimedia6 libqt6printsupport6; do
  grep -q "$library" <<< "$depends" || { echo "the package does not depend on $library"; exit 1; }
done
echo "package $(basename "$deb"): $(wc -l < "$work/contents") entries; depends on $depends"
# Debian's own checks. The pedantic and informational notes left are listed in dist/CMakeLists.txt.
lintian --fail-on error,warning -I --pedantic "$deb" > "$work/lintian" 2>&1 \
  || { cat "$work/lintian"; echo "lintian found errors or warnings"; exit 1; }
echo "lintian: no error or warning ($(grep -c '^[IP]:' "$work/lintian") notes)"
