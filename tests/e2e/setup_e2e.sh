#!/usr/bin/env bash
# End-to-end tests of meadowbrookgate_setup.exe: the real program under Wine,
# driven with real X input (xdotool) and watched from outside by
# setup_driver.exe, which is also its parent and so reads its full exit
# status. One case a run:  setup_e2e.sh CASE
# Needs SETUP_EXE, DRIVER_EXE, PLANTED_DLL and WEBSITE_HOST in the
# environment (ctest sets them).
set -euo pipefail
case_name=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/wine/slot"
enter_test_slot "$BASH" "${BASH_SOURCE[0]}" "$@"
source "$here/setup_session.sh"

fail() {
  echo "FAIL [$case_name]: $*" >&2
  exit 1
}

expect_eq() { # what expected actual
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

expect_installed() {
  cmp -s "$project_root/resources/meadowbrookgate.ico" "$icon_file" ||
    fail "C:\\meadowbrookgate.ico is missing or differs from resources/meadowbrookgate.ico"
  expected_shortcut >"$session_dir/expected.url"
  cmp -s "$session_dir/expected.url" "$shortcut_file" ||
    fail "the desktop shortcut is missing or differs: $(od -c "$shortcut_file" 2>&1 | head -3)"
}

expect_nothing_written() {
  [ ! -e "$icon_file" ] || fail "C:\\meadowbrookgate.ico was written"
  [ ! -e "$shortcut_file" ] || fail "the desktop shortcut was written"
  [ -z "$(ls -A "$desktop_dir")" ] || fail "the desktop holds $(ls -A "$desktop_dir")"
}

expect_exit_zero() {
  expect_eq "exit status" 0 "$(wait_for_exit 10)"
}

# No ~mbg file of the program's own in C:\ or on the desktop; links that a
# test planted there are not the program's.
expect_no_temporary_files() {
  local left
  left=$(find "$WINEPREFIX/drive_c" "$desktop_dir" -maxdepth 1 -name '~mbg*' ! -type l)
  [ -z "$left" ] || fail "temporary files were left: $left"
}

expect_still_open() {
  sleep 0.3
  [ ! -s "$exit_file" ] || fail "the program ended with status $(cat "$exit_file")"
  driver wait || fail "the dialog is gone"
}

start_session
trap 'stop_session; clear_outputs' EXIT
clear_outputs

prompt="Click OK to create desktop icon."
start_prompting() {
  start_setup "$@" || fail "the dialog did not appear"
  expect_eq "status line" "$prompt" "$(driver status)"
}

case "$case_name" in
  enter_on_fresh_dialog_installs)
    start_prompting
    expect_eq "control with the focus" 1 "$(driver focus)"
    press Return
    expect_exit_zero
    expect_installed
    ;;
  ok_click_installs)
    start_prompting
    click_button 1
    expect_exit_zero
    expect_installed
    ;;
  escape_writes_nothing)
    start_prompting
    press Escape
    expect_exit_zero
    expect_nothing_written
    ;;
  cancel_click_writes_nothing)
    start_prompting
    click_button 2
    expect_exit_zero
    expect_nothing_written
    ;;
  close_command_writes_nothing)
    start_prompting
    driver close
    expect_exit_zero
    expect_nothing_written
    ;;
  alt_f4_writes_nothing)
    start_prompting
    press alt+F4
    expect_exit_zero
    expect_nothing_written
    ;;
  failure_keeps_dialog_then_retry_then_cancel)
    # Directories in the way of both files: both steps fail.
    mkdir "$icon_file" "$shortcut_file"
    start_prompting
    press Return
    expect_still_open
    expect_eq "status line" "Failed to create shortcut." "$(driver status)"
    # Only the icon's way is cleared: a second OK writes it, so the whole
    # sequence ran again, and the shortcut still fails.
    rmdir "$icon_file"
    press Return
    expect_still_open
    expect_eq "status line" "Failed to create shortcut." "$(driver status)"
    cmp -s "$project_root/resources/meadowbrookgate.ico" "$icon_file" || fail "the retry did not write the icon"
    click_button 2
    expect_exit_zero
    [ -d "$shortcut_file" ] || fail "the directory in the shortcut's way was touched"
    ;;
  icon_failure_message_stays_on_screen)
    mkdir "$icon_file"
    start_prompting
    press Return
    expect_still_open
    expect_eq "status line" "Failed to create icon file." "$(driver status)"
    expected_shortcut >"$session_dir/expected.url"
    cmp -s "$session_dir/expected.url" "$shortcut_file" || fail "the shortcut was not written"
    press Escape
    expect_exit_zero
    ;;
  read_only_icon_kept_until_cleared)
    # The attribute as a Unix user sets it; Wine reports it as read-only.
    printf 'an icon the user keeps' >"$icon_file"
    chmod a-w "$icon_file"
    start_prompting
    press Return
    expect_still_open
    expect_eq "status line" "Failed to create icon file." "$(driver status)"
    expect_eq "the kept icon" "an icon the user keeps" "$(cat "$icon_file")"
    expect_no_temporary_files
    chmod u+w "$icon_file"
    press Return
    expect_exit_zero
    expect_installed
    ;;
  stop_ends_only_what_it_started)
    # A process whose command line names the program, as a linker's may.
    bash -c 'for _ in $(seq 600); do sleep 0.1; done' meadowbrookgate_setup.exe &
    bystander=$!
    start_prompting
    stop_program
    expect_eq "exit status of the program the test ended" 1 "$(wait_for_exit 1)"
    kill -0 "$bystander" 2>/dev/null || fail "a process the test did not start was ended"
    kill "$bystander"
    ;;
  planted_libraries_never_loaded)
    # A download folder, which is also the working folder, holding the
    # program and DLLs named like ones that the shell and the dialog manager
    # load. (Wine's own USER32 binds version.dll, which Windows' does not, so
    # that name can't be tried here.)
    downloads="$session_dir/Downloads"
    mkdir -p "$downloads/loaded"
    cp "$SETUP_EXE" "$downloads/meadowbrookgate_setup.exe"
    for name in shcore shlwapi uxtheme dwmapi propsys cryptbase; do
      cp "$PLANTED_DLL" "$downloads/$name.dll"
    done
    # The stand-in records whoever loads it: shown here with rundll32.
    (cd "$downloads" && wine rundll32 "$(windows_path "$downloads/shcore.dll")",Record </dev/null >/dev/null 2>&1) || true
    [ -e "$downloads/loaded/rundll32.exe loaded shcore.dll" ] || fail "the planted DLL records nothing: $(ls "$downloads/loaded")"
    SETUP_EXE="$downloads/meadowbrookgate_setup.exe"
    cd "$downloads"
    start_prompting
    cd - >/dev/null
    press Return
    expect_exit_zero
    expect_installed
    loaded=$(ls "$downloads/loaded" | grep -i '^meadowbrookgate_setup\.exe loaded' || true)
    [ -z "$loaded" ] || fail "the program loaded DLLs from its folder: ${loaded//$'\n'/, }"
    ;;
  planted_links_never_followed)
    # While the dialog waits, links go where the program will put its new
    # files first, in C:\ and on the desktop: one to a file outside the Wine
    # drive, one to a file that isn't there.
    start_prompting
    id=$(printf '%08X' "$(tr -d '\r\n' <"$pid_file")")
    for dir in "$WINEPREFIX/drive_c" "$desktop_dir"; do
      tag=$(basename "$dir")
      printf 'kept %s\n' "$tag" >"$session_dir/outside-$tag"
      ln -s "$session_dir/outside-$tag" "$dir/~mbg${id}0.tmp"
      ln -s "$session_dir/missing-$tag" "$dir/~mbg${id}1.tmp"
    done
    press Return
    expect_exit_zero
    expect_installed
    expect_no_temporary_files
    for dir in "$WINEPREFIX/drive_c" "$desktop_dir"; do
      tag=$(basename "$dir")
      expect_eq "the file behind the link in $tag" "kept $tag" "$(cat "$session_dir/outside-$tag")"
      [ ! -e "$session_dir/missing-$tag" ] || fail "a file was made through the dangling link in $tag"
      [ -L "$dir/~mbg${id}0.tmp" ] && [ -L "$dir/~mbg${id}1.tmp" ] || fail "a planted link in $tag was touched"
      rm -f "$dir/~mbg${id}0.tmp" "$dir/~mbg${id}1.tmp"
    done
    ;;
  overlapping_copies_all_install)
    # Two, then three copies at once, OK pressed in each as soon as all are
    # up: every copy must end with 0, whichever moved its files last.
    session=$(windows_path "$session_dir")
    copy_drivers=()
    stop_copies() {
      local file
      for file in "$session_dir"/copy-pid-*; do
        if [ -s "$file" ] && [ ! -s "${file/copy-pid/copy-exit}" ]; then
          driver stop "$(tr -d '\r\n' <"$file")" >/dev/null || true
        fi
      done
      [ ${#copy_drivers[@]} = 0 ] || wait "${copy_drivers[@]}" 2>/dev/null || true
      copy_drivers=()
    }
    trap 'stop_copies; stop_session; clear_outputs' EXIT
    for copies in 2 3; do
      clear_outputs
      rm -f "$session_dir"/copy-*
      for i in $(seq "$copies"); do
        wine "$DRIVER_EXE" run "$session\\copy-pid-$i" "$session\\copy-exit-$i" "$(windows_path "$SETUP_EXE")" \
          </dev/null >/dev/null 2>&1 &
        copy_drivers+=($!)
      done
      driver ok-all "$copies" || fail "$copies dialogs did not come up"
      for i in $(seq "$copies"); do
        expect_eq "exit status of copy $i of $copies" 0 "$(exit_file="$session_dir/copy-exit-$i" wait_for_exit 10)"
      done
      stop_copies
      expect_installed
      expect_no_temporary_files
    done
    ;;
  arguments_change_nothing)
    start_prompting /S '--desktop=D:\from-argument' '"unclosed quote'
    press Return
    expect_exit_zero
    expect_installed
    [ ! -e "$mbg_drive_root/d/from-argument" ] || fail "an argument was acted on"
    ;;
  dialog_sits_at_template_position)
    start_prompting
    read -r _ x y _ tx ty _ cx cy < <(driver geometry "$(windows_path "$SETUP_EXE")")
    expect_eq "dialog position" "$tx $ty" "$x $y"
    [ "$x $y" != "$cx $cy" ] || fail "the dialog is centred at $x $y"
    press Escape
    expect_exit_zero
    ;;
  missing_template_exits_minus_one)
    # The same program without its resources: the dialog can't be made.
    i686-w64-mingw32-objcopy --remove-section .rsrc "$SETUP_EXE" "$session_dir/no_template.exe"
    start_program "$session_dir/no_template.exe"
    expect_eq "exit status" -1 "$(wait_for_exit 10)"
    expect_nothing_written
    ;;
  *)
    fail "no such case"
    ;;
esac
echo "PASS [$case_name]"
