#!/usr/bin/env bash
# Usage: package_test.sh BUILD-FOLDER
# Builds the .deb from the given build, unpacks it (dpkg -x) and checks what
# a desktop would read from it. Every failed check is reported; the exit code
# is the number of failures (capped), 0 when all hold.
set -uo pipefail
BUILD="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FAILS=0
fail() { echo "FEHLER: $*"; FAILS=$((FAILS + 1)); }
check() { local what="$1"; shift; "$@" >"$WORK/out" 2>&1 || { fail "$what"; sed 's/^/  /' "$WORK/out"; }; }

for tool in cpack dpkg-deb desktop-file-validate appstreamcli update-mime-database man; do
  command -v "$tool" >/dev/null || { echo "FEHLER: $tool fehlt (scripts/packages.sh installiert es)"; exit 1; }
done

# The package, from the programs this build made.
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log"; echo "FEHLER: cpack"; exit 1; }
DEB="$(ls "$WORK"/cpack/pellwerk_*_amd64.deb 2>/dev/null | head -n 1)"
[ -n "$DEB" ] || { echo "FEHLER: kein pellwerk_VERSION_amd64.deb"; ls "$WORK/cpack"; exit 1; }

# Declared dependencies: the linked Qt libraries, and what is only loaded.
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6network6 qt6-qpa-plugins \
           qt6-image-formats-plugins qt6-translations-l10n fonts-liberation2 \
           fonts-material-design-icons-iconfont bluez; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$DEPENDS" || fail "Depends ohne $dep: $DEPENDS"
done

ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT"
SHARE="$ROOT/usr/share"
for f in usr/bin/pellwerk usr/bin/pellwerk-cli \
         usr/share/applications/pellwerk.desktop usr/share/mime/packages/pellwerk.xml \
         usr/share/metainfo/de.mirvo.pellwerk.metainfo.xml usr/share/thumbnailers/pellwerk.thumbnailer \
         usr/share/man/man1/pellwerk.1.gz usr/share/man/man1/pellwerk-cli.1.gz \
         usr/share/bash-completion/completions/pellwerk-cli \
         usr/share/doc/pellwerk/copyright usr/share/doc/pellwerk/changelog.gz \
         usr/share/icons/hicolor/scalable/mimetypes/application-x-pellwerk.svg; do
  [ -e "$ROOT/$f" ] || fail "fehlt im Paket: /$f"
done
for size in 16 24 32 48 64 128 256; do
  [ -e "$SHARE/icons/hicolor/${size}x${size}/apps/pellwerk.png" ] || fail "Programmsymbol ${size}x${size} fehlt"
  [ -e "$SHARE/icons/hicolor/${size}x${size}/mimetypes/application-x-pellwerk.png" ] ||
    fail "Dateisymbol ${size}x${size} fehlt"
done

# The desktop's validators on the installed files.
check "desktop-file-validate" desktop-file-validate "$SHARE/applications/pellwerk.desktop"
[ -s "$WORK/out" ] && { echo "desktop-file-validate meldet:"; cat "$WORK/out"; FAILS=$((FAILS + 1)); }
check "appstreamcli validate" appstreamcli validate --no-net --explain "$SHARE/metainfo/de.mirvo.pellwerk.metainfo.xml"
mkdir -p "$WORK/mime/packages"
cp "$SHARE/mime/packages/pellwerk.xml" "$WORK/mime/packages/"
# Told where it works, so it only speaks of real problems.
check "update-mime-database" env XDG_DATA_DIRS="$WORK:/usr/share" update-mime-database "$WORK/mime"
[ -s "$WORK/out" ] && { echo "update-mime-database meldet:"; cat "$WORK/out"; FAILS=$((FAILS + 1)); }
for page in pellwerk pellwerk-cli; do
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$SHARE/man/man1/$page.1.gz" >/dev/null 2>"$WORK/man.err" || fail "man $page"
  [ -s "$WORK/man.err" ] && { fail "man $page meldet:"; cat "$WORK/man.err"; }
done

# The files agree with each other: one type, one program, one icon.
desktop_key() { sed -n "s/^$1=//p" "$SHARE/applications/pellwerk.desktop"; }
TYPE="$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$SHARE/mime/packages/pellwerk.xml")"
[ "$TYPE" = "application/x-pellwerk" ] || fail "MIME-Typ \"$TYPE\""
grep -q "^application/x-pellwerk:\*\.pellwerk$" "$WORK/mime/globs" || fail "keine Endung *.pellwerk in globs"
grep -aq '"MirvoPellwerk"' "$WORK/mime/magic" || fail "keine Inhaltserkennung in magic"
[ "$(desktop_key MimeType)" = "$TYPE;" ] || fail "Desktop-Eintrag MimeType=$(desktop_key MimeType)"
EXEC="$(desktop_key Exec)"
[ "$EXEC" = "pellwerk %f" ] || fail "Desktop-Eintrag Exec=$EXEC"
[ -x "$ROOT/usr/bin/${EXEC%% *}" ] || fail "Programm des Desktop-Eintrags fehlt"
ICON="$(desktop_key Icon)"
[ -e "$SHARE/icons/hicolor/48x48/apps/$ICON.png" ] || fail "Symbol \"$ICON\" des Desktop-Eintrags fehlt"
TH="$SHARE/thumbnailers/pellwerk.thumbnailer"
[ "$(sed -n 's/^MimeType=//p' "$TH")" = "$TYPE;" ] || fail "Thumbnailer MimeType"
TH_EXEC="$(sed -n 's/^Exec=//p' "$TH")"
[ -x "$ROOT/usr/bin/${TH_EXEC%% *}" ] || fail "Programm des Thumbnailers fehlt: $TH_EXEC"
META="$SHARE/metainfo/de.mirvo.pellwerk.metainfo.xml"
grep -q "<launchable type=\"desktop-id\">pellwerk.desktop</launchable>" "$META" || fail "metainfo launchable"
grep -q "<mediatype>$TYPE</mediatype>" "$META" || fail "metainfo mediatype"

# The installed programs run. The home folder is this test's own.
CLI="$ROOT/usr/bin/pellwerk-cli"
"$CLI" --help >"$WORK/help" 2>"$WORK/help.err" || fail "pellwerk-cli --help"
grep -q "^  thumbnail " "$WORK/help" || fail "pellwerk-cli --help nennt thumbnail nicht"
[ -s "$WORK/help.err" ] && { fail "pellwerk-cli --help schreibt auf stderr:"; cat "$WORK/help.err"; }
"$ROOT/usr/bin/pellwerk" --version 2>/dev/null | grep -q "^pellwerk [0-9]" || fail "pellwerk --version"

# The built-in templates, as the editor writes them at its first start.
rm -rf "$HOME/.local/share/MIRVO Pellwerk"
"$CLI" templates >/dev/null 2>&1 || fail "pellwerk-cli templates"
LABEL="$HOME/.local/share/MIRVO Pellwerk/Vorlagen/Nummerierung.pellwerk"
[ -f "$LABEL" ] || fail "keine mitgelieferte Vorlage"
head -c 256 "$LABEL" | grep -aq '"MirvoPellwerk"' || fail "Vorlage trägt die Kennung nicht in den ersten 256 Bytes"

# The thumbnailer's own command line, as a file manager fills it in.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
OUT="$WORK/thumb.png"
[ "$TH_EXEC" = "pellwerk-cli thumbnail %i %o %s" ] || fail "Thumbnailer Exec=$TH_EXEC"
read -r -a words <<<"$TH_EXEC"
argv=()
for w in "${words[@]:1}"; do
  case $w in
    %i) argv+=("$LABEL") ;;  # one argument, though the path holds a space
    %o) argv+=("$OUT") ;;
    %s) argv+=(256) ;;
    *) argv+=("$w") ;;
  esac
done
"$CLI" "${argv[@]}" 2>"$WORK/thumb.err" || fail "pellwerk-cli thumbnail"
[ -s "$WORK/thumb.err" ] && { fail "thumbnail schreibt auf stderr:"; cat "$WORK/thumb.err"; }
[ "$(head -c 8 "$OUT" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "thumbnail schreibt kein PNG"
[ "$(png_size "$OUT")" = "256x107" ] || fail "Vorschaubild $(png_size "$OUT") statt 256x107"

# Completion offers exactly the commands the program lists.
COMMANDS="$(sed -n '/^Befehle:/,/^$/s/^  \([a-z]*\) .*/\1/p' "$WORK/help" | sort | tr '\n' ' ')"
COMPLETED="$(bash -c '
  source /usr/share/bash-completion/bash_completion 2>/dev/null
  source "$1"
  COMP_WORDS=(pellwerk-cli ""); COMP_CWORD=1; COMP_LINE="pellwerk-cli "; COMP_POINT=${#COMP_LINE}
  _pellwerk_cli
  printf "%s\n" "${COMPREPLY[@]}" | grep -v "^-" | grep -vx help | sort | tr "\n" " "
' _ "$SHARE/bash-completion/completions/pellwerk-cli")"
[ -n "$COMMANDS" ] && [ "$COMPLETED" = "$COMMANDS" ] || fail "Vervollständigung \"$COMPLETED\" statt \"$COMMANDS\""

if [ "$FAILS" -eq 0 ]; then echo "Paket in Ordnung: $(basename "$DEB")"; fi
exit $((FAILS > 100 ? 100 : FAILS))
