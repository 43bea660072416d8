#!/bin/sh
# Runs atspi_press.py against PROGRAM in a new X display and D-Bus session with the accessibility
# bus and registry up, and the program's settings in a scratch home.
#   atspi-run.sh PROGRAM SCRIPT
set -e
program=$1 script=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
exec xvfb-run -a -s '-screen 0 1024x768x24' dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  /usr/libexec/at-spi2-registryd &
  registry=$!
  sleep 1
  /usr/bin/python3 "$2" "$1"; status=$?
  kill $registry $launcher 2>/dev/null
  exit $status' sh "$program" "$script"
