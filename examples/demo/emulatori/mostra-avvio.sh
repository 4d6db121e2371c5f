#!/bin/sh
# Shared by the demo's stand-in emulators: shows the command line one of them was
# started with and notes it in "avvii.log" in the data folder, above this
# script's (each emulator starts in its own folder). No emulation.
# Usage: mostra-avvio.sh PROGRAM [ARGUMENT...]

line=$1
shift
for argument in "$@"; do
  # Arguments holding blanks are shown quoted, so it is plain where each ends.
  case $argument in
    *" "*) line="$line \"$argument\"" ;;
    *) line="$line $argument" ;;
  esac
done

printf '%s  %s\n' "$(date '+%Y-%m-%d %H:%M:%S')" "$line" >> "$(dirname "$0")/../avvii.log"

title="Emulatore dimostrativo"
text="Valmerin ha avviato:

$line"
if [ -n "$DISPLAY" ] && command -v xmessage >/dev/null 2>&1; then
  xmessage -center -title "$title" "$text"
elif [ -n "$DISPLAY$WAYLAND_DISPLAY" ] && command -v zenity >/dev/null 2>&1; then
  zenity --info --no-markup --title="$title" --text="$text"
else
  printf '%s\n' "$text"
fi
