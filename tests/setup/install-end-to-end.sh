#!/usr/bin/env bash
# Installs MIDI Vorlo the way a user does, from the distribution folder `make dist` builds, into a home of its own
# (HOME and the XDG folders inside a temporary folder), and checks what the install put there: the program folder,
# the settings hives, the launchers (desktop-file-validate), the applications menu (read with a menu parser) and
# the playlist type (xdg-mime). Then it starts the installed player on a sample song, which must find its program
# folder through the "Folder" key, play there and write History.ini into that folder, and uninstalls: the home
# must then hold nothing of the product but the program folder the last message names and the settings the
# uninstall keeps (the version key and the uninstall entry). The home's tree is printed before and after.
#   install-end-to-end.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=${1:?source folder}
build_dir=${2:?build folder}

work=$(mktemp -d)
player_pid=
cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || fail "$what"
}

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
# The desktop's root menu, as desktops ship it: the applications folders and the menus merged into it.
export XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CONFIG_DIRS="$work/xdg"
mkdir -p "$work/xdg/menus"
cat >"$work/xdg/menus/applications.menu" <<'END'
<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN"
 "http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd">
<Menu>
  <Name>Applications</Name>
  <DefaultAppDirs/>
  <DefaultDirectoryDirs/>
  <DefaultMergeDirs/>
</Menu>
END
export VORLO_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp"
unset VORLO_CONFIG_DIR XDG_CURRENT_DESKTOP XDG_MENU_PREFIX
mkdir -p "$HOME/Desktop" "$TMPDIR"

tree() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort); }

bash "$source_dir/scripts/make-dist.sh" "$build_dir" "$work/dist" >/dev/null || {
  echo "FAILED: make-dist.sh" >&2
  exit 1
}
before=$(tree "$HOME")
echo "== The home before the install"
echo "$before"

program="$HOME/MIDIVorlo"
settings="$XDG_CONFIG_HOME/MIDI Vorlo"
(cd "$work/dist" && ./setup --install --desktop-shortcut) || fail "setup --install ended with $?"
echo "== The home after the install"
tree "$HOME"

# The program folder: the product's files.
for f in MIDI_Vorlo setup vorlo-video.so ReadMe.txt File_id.diz help/index.html A_Walk_to_Seashore.mid \
         "The Waiter and The Reaper.mid" Reset/Gm_reset.mid Reset/Gs_reset.mid Reset/Xg_reset.mid; do
  check "$f installed" cmp -s "$work/dist/${f#Reset/}" "$program/$f"
done
check "the player is runnable" test -x "$program/MIDI_Vorlo"

# The keys of the install in the hives.
hive_has() {  # hive_has ROOT SECTION LINE
  awk -v section="[$2]" -v line="$3" '
    $0 == section { inside = 1; next }
    /^\[/ { inside = 0 }
    inside && $0 == line { found = 1 }
    END { exit !found }' "$settings/$1.reg"
}
check "Folder key" hive_has HKEY_CURRENT_USER 'SOFTWARE\Brackwen\MIDI Vorlo\Folder' "@=\"$program\""
check "Group key" hive_has HKEY_CURRENT_USER 'SOFTWARE\Brackwen\MIDI Vorlo\Group' \
  "@=\"$XDG_DATA_HOME/applications/MIDI Vorlo\""
check "Version key" hive_has HKEY_LOCAL_MACHINE 'SOFTWARE\Brackwen\MIDI Vorlo\Version' '@="1.90"'
check "uninstall entry" hive_has HKEY_LOCAL_MACHINE \
  'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\MIDI Vorlo' "\"UninstallString\"=\"$program/setup\""
check ".mpl class" hive_has HKEY_CLASSES_ROOT '.mpl' '@="MIDI Vorlo MPL File"'
check "play command" hive_has HKEY_CLASSES_ROOT 'MIDI Vorlo MPL File\shell\play\command' \
  "@=\"$program/MIDI_Vorlo /play /close %1\""

# Every launcher passes the desktop's validator.
while IFS= read -r -d '' entry; do
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $entry: $out"
  case "$out" in *error*) fail "desktop-file-validate $entry: $out" ;; esac
done < <(find "$XDG_DATA_HOME/applications" "$HOME/Desktop" -name '*.desktop' -print0)
check "the desktop launcher" test -x "$HOME/Desktop/MIDI Vorlo.desktop"

# The applications menu, as a menu parser reads it: a submenu "MIDI Vorlo" holding the four launchers.
menu=$(/usr/bin/python3 - <<'EOF'
import xdg.Menu
def walk(menu, depth=0):
    for entry in menu.getEntries():
        if isinstance(entry, xdg.Menu.Menu):
            print("  " * depth + "menu " + entry.getName())
            walk(entry, depth + 1)
        elif isinstance(entry, xdg.Menu.MenuEntry):
            print("  " * depth + "entry " + entry.DesktopEntry.getName())
walk(xdg.Menu.parse())
EOF
)
echo "== The applications menu"
echo "$menu"
for name in "MIDI Vorlo" "MIDI Vorlo Help" "MIDI Vorlo ReadMe" "MIDI Vorlo Setup"; do
  grep -qx "  entry $name" <<<"$(sed -n '/^menu MIDI Vorlo$/,/^menu /p' <<<"$menu")" ||
    fail "the menu's group does not hold $name"
done

# The playlist type, as the desktop tells it (gio answers xdg-mime on GNOME and most other desktops).
printf '%s\r\n' "$program/A_Walk_to_Seashore.mid" >"$work/songs.mpl"
type=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/songs.mpl")
[ "$type" = audio/x-midi-vorlo-playlist ] || fail "xdg-mime query filetype songs.mpl gave '$type'"

# The installed player, started from elsewhere, finds its folder through the "Folder" key: it plays the list's
# sample song after the reset file of its own folder, and at its end writes History.ini into the program folder.
# A user who has been through the first start's configuration dialog has options; the test writes them, with
# Auto on: a list opened from the command line plays by that mode.
printf '\n[SOFTWARE\\Brackwen\\MIDI Vorlo\\Options]\n"AutoPlay"=dword:00000001\n' \
  >>"$settings/HKEY_CURRENT_USER.reg"
log="$work/player.log"
(cd "$work" && QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="vorlo.media.debug=true" \
  exec "$program/MIDI_Vorlo" "$work/songs.mpl" 2>"$log") &
player_pid=$!
played=
for _ in $(seq 1 600); do
  if grep -q "of \"$program/A_Walk_to_Seashore.mid\" from" "$log"; then
    played=1
    break
  fi
  kill -0 "$player_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$played" ] || fail "the installed player did not play the sample song"
grep -q "of \"$program//Reset//Gm_reset.mid\" from" "$log" || fail "the reset file of the program folder was not played"
kill -TERM "$player_pid" 2>/dev/null
for _ in $(seq 1 300); do kill -0 "$player_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$player_pid" 2>/dev/null; then
  fail "the player did not end"
  kill -KILL "$player_pid"
fi
wait "$player_pid" 2>/dev/null
player_pid=
grep -qF "$work/songs.mpl" "$program/History.ini" 2>/dev/null || fail "History.ini in the program folder"
echo "== The installed player played"
grep -e ' play [0-9]* of ' "$log"
echo "== History.ini in the program folder"
cat "$program/History.ini" 2>/dev/null
[ "$failures" -eq 0 ] || { echo "== The player said"; cat "$log"; }

# The uninstall, run as the menu's launcher runs it: the installed setup, which removes itself at its end.
"$program/setup" --uninstall || fail "setup --uninstall ended with $?"
after=$(tree "$HOME")
echo "== The home after the uninstall"
echo "$after"
# What may stay: the program folder with the Reset folder (the last message names it), the settings the
# uninstall keeps (the hives, with the version key and the uninstall entry, and their lock files), and what the
# sound server's client library keeps for any program that plays (.config/pulse).
left=$(comm -13 <(echo "$before") <(echo "$after") |
  grep -v -x -e './MIDIVorlo' -e './MIDIVorlo/Reset' -e './.config' -e './.config/MIDI Vorlo' \
    -e './.config/MIDI Vorlo/HKEY_[A-Z_]*\.reg' -e './.config/MIDI Vorlo/HKEY_[A-Z_]*\.reg\.lock' \
    -e './.config/pulse' -e './.config/pulse/.*')
[ -z "$left" ] || fail "the uninstall left: $left"
check "the Folder key is gone" bash -c "! grep -qF 'MIDI Vorlo\\Folder]' '$settings/HKEY_CURRENT_USER.reg'"
check "the .mpl class is gone" bash -c "! grep -qF '[.mpl]' '$settings/HKEY_CLASSES_ROOT.reg'"
type=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/songs.mpl")
[ "$type" != audio/x-midi-vorlo-playlist ] || fail "the playlist type is still known after the uninstall"
# A second uninstall finds nothing to do and says so.
"$program/setup" --uninstall 2>/dev/null && fail "a second uninstall with the setup gone ran"
(cd "$work/dist" && ./setup --uninstall >/dev/null 2>&1) && fail "a second uninstall claimed success"
[ "$(tree "$HOME")" = "$after" ] || fail "a second uninstall changed the home"

[ "$failures" -eq 0 ] && echo "PASSED" || exit 1
