#!/bin/sh
# The program without any display: a message and exit code 255, never a
# crash (an abort would end it with 134 and leave a core dump).
#
#   no_display.sh PATH/TO/valdremo
set -u
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1 >/dev/null)
code=$?
echo "exit code $code: $message"
[ "$code" -eq 255 ] && printf '%s\n' "$message" | grep -q 'cannot start'
