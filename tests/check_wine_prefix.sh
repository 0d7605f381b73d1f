#!/usr/bin/env bash
# The scripts remove and remake only a Wine prefix that they made. A user's
# own prefix given as MBG_WINEPREFIX is refused with a message that names it,
# by the prefix's set-up and by the tests' runs, which mount over it,
# and keeps every file and link; a prefix with an older mark of the scripts
# is remade.
#   check_wine_prefix.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Holds the folder as the project's prefix; with "stub", Wine's own
# commands do nothing, so that only the scripts' decision is looked at.
prepare() { # folder [stub]
  MBG_WINEPREFIX=$1 bash -c 'source "$1/scripts/wine/prefix"
    if [ "$2" = stub ]; then
      kernel_runs_32bit_programs() { :; }; wineboot() { :; }; wineserver() { :; }; wine() { :; }
    fi
    hold_wine_prefix' _ "$source_dir" "${2:-}" 2>&1
}
# Every file's bytes, and every link with where it points.
listing() { (cd "$1" && find . -printf '%y %p %l\n' | sort && find . -type f -exec sha256sum {} + | sort); }

users=$work/home/.wine
mkdir -p "$users/drive_c/users/me/Documents" "$users/dosdevices"
echo "a letter" >"$users/drive_c/users/me/Documents/letter.txt"
echo "the user's own icon" >"$users/drive_c/meadowbrookgate.ico"
echo "WINE REGISTRY Version 2" >"$users/system.reg"
ln -s /media/cdrom "$users/dosdevices/d:"
before=$(listing "$users")
refused() { # what said
  grep -qF "$users is not empty and was not made by these scripts" <<<"$2" ||
    fail "$1: the refusal does not name the folder: $2"
  [ "$before" = "$(listing "$users")" ] || fail "$1: the user's prefix changed"
}
if said=$(prepare "$users"); then
  fail "the user's own prefix was taken: $said"
fi
refused "the prefix's set-up" "$said"
# The tests' runs, which mount over what they start from, stop at the refusal.
if said=$(MBG_TEST_PREFIX=$users MBG_TEST_SLOTS=$work/slots "$source_dir/scripts/wine/with-test-slots" \
  echo "the command ran" 2>&1); then
  fail "with-test-slots went on with the user's prefix: $said"
fi
[[ $said != *"the command ran"* ]] || fail "with-test-slots ran its command on the user's prefix"
refused "with-test-slots" "$said"

ours=$work/build/wine
mkdir -p "$ours/drive_c"
touch "$ours/.meadowbrookgate-ready-2" "$ours/drive_c/left-from-an-old-set-up"
prepare "$ours" stub >/dev/null || fail "a prefix with the scripts' older mark was refused"
[ ! -e "$ours/drive_c/left-from-an-old-set-up" ] || fail "the old prefix was not remade"
[ -e "$ours/.meadowbrookgate-ready-3" ] || fail "the remade prefix has no ready mark"
echo "a foreign prefix is refused and kept, also by with-test-slots; an older prefix of the scripts is remade"
