# Sourced: starting meadowbrookgate_setup.exe under Wine and acting on its
# dialog as a user would. Used by the end-to-end tests and scripts/run.
# shellcheck shell=bash

icon_file="$WINEPREFIX/drive_c/meadowbrookgate.ico"
# Wine names the profile after the Unix user.
desktop_dir="$WINEPREFIX/drive_c/users/$(id -un)/Desktop"
shortcut_file="$desktop_dir/Meadowbrook Gate.url"

driver() {
  wine "$DRIVER_EXE" "$@" 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

start_session() {
  prepare_wine_prefix
  map_test_drives
  session_own_x=0
  if [ -z "${DISPLAY:-}" ]; then
    start_private_xvfb
    session_own_x=1
  fi
  start_wine_services
  session_dir=$(mktemp -d)
  exit_file="$session_dir/exit-status"
}

stop_session() {
  pkill -f 'meadowbrookgate_setup\.exe' 2>/dev/null || true
  if [ "$session_own_x" = 1 ]; then
    wineserver -k 2>/dev/null || true
    stop_private_xvfb
  fi
  rm -rf "$session_dir"
}

clear_outputs() {
  rm -rf "$icon_file" "$shortcut_file"
}

expected_shortcut() {
  printf '[InternetShortcut]\r\nURL=https://%s\r\nModified=80D95DEAB1CCBF01DC\r\nIconIndex=0\r\nIconFile=C:\\meadowbrookgate.ico\r\n' \
    "$WEBSITE_HOST"
}

# Starts the program with the given arguments; waits until its dialog is
# on screen and sets setup_window to its X window.
start_setup() {
  rm -f "$exit_file"
  wine "$DRIVER_EXE" run "$(windows_path "$session_dir")\\exit-status" "$(windows_path "$SETUP_EXE")" "$@" \
    </dev/null >/dev/null 2>&1 &
  driver wait || return 1
  setup_window=$(timeout 10 xdotool search --sync --onlyvisible --name '^meadowbrookgate_setup$' | head -n 1)
  [ -n "$setup_window" ]
}

# Starts a program the way start_setup does, for one that shows no dialog.
start_without_dialog() {
  rm -f "$exit_file"
  wine "$DRIVER_EXE" run "$(windows_path "$session_dir")\\exit-status" "$(windows_path "$1")" \
    </dev/null >/dev/null 2>&1 &
}

# Prints the exit status once the program has ended; fails after seconds.
wait_for_exit() {
  local i
  for i in $(seq 1 $(($1 * 20))); do
    if [ -s "$exit_file" ]; then
      tr -d '\r\n' <"$exit_file"
      return 0
    fi
    sleep 0.05
  done
  echo "still running"
  return 1
}

# A key as the user types it: a real press and release on the focused
# dialog, through the X server.
press() {
  xdotool windowfocus --sync "$setup_window" 2>/dev/null || true
  xdotool key "$1"
}

# A real mouse click in the middle of the control with the given id.
click_button() {
  local x y
  read -r x y < <(driver button "$1")
  # No --sync: it waits for a motion, and the pointer may already be there.
  xdotool mousemove "$x" "$y" click 1
}
