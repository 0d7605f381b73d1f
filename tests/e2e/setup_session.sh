# Sourced: starting meadowbrookgate_setup.exe under Wine and acting on its
# dialog as a user would, in the prefix that scripts/wine/slot, sourced
# first, has chosen. Used by the end-to-end tests and scripts/run.
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
  map_test_drives
  start_wine_session
  session_dir=$(mktemp -d)
  exit_file="$session_dir/exit-status"
  pid_file="$session_dir/pid"
  session_driver_pid=""
}

# Ends what this session started and nothing else: the program, by the
# Windows process id its driver reported, then that driver. Other copies of
# the program, and other processes whose command line names it, are left
# alone.
stop_program() {
  if [ -n "${session_driver_pid:-}" ]; then
    local i
    # A driver that has only just started may not have written the id yet.
    for i in $(seq 1 100); do
      [ -s "$pid_file" ] || [ -s "$exit_file" ] && break
      kill -0 "$session_driver_pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ ! -s "$exit_file" ] && [ -s "$pid_file" ]; then
      driver stop "$(tr -d '\r\n' <"$pid_file")" >/dev/null || true
    fi
    for i in $(seq 1 100); do
      kill -0 "$session_driver_pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$session_driver_pid" 2>/dev/null || true
    wait "$session_driver_pid" 2>/dev/null || true
    session_driver_pid=""
  fi
}

stop_session() {
  stop_program
  stop_wine_session
  rm -rf "${session_dir:-}"
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
  start_program "$SETUP_EXE" "$@"
  driver wait || return 1
  setup_window=$(timeout 10 xdotool search --sync --onlyvisible --name '^meadowbrookgate_setup$' | head -n 1)
  [ -n "$setup_window" ]
}

# Starts a program with the given arguments under setup_driver, which
# records its process id and, once it has ended, its full exit status.
start_program() {
  local program=$1
  shift
  rm -f "$exit_file" "$pid_file"
  local session
  session=$(windows_path "$session_dir")
  wine "$DRIVER_EXE" run "$session\\pid" "$session\\exit-status" "$(windows_path "$program")" "$@" \
    </dev/null >/dev/null 2>&1 &
  session_driver_pid=$!
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
