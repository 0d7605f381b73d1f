#!/usr/bin/env bash
# A release made by scripts/release, signed with a throwaway .p12, is proven
# by scripts/verify-release to be the build of its commit; one byte changed
# in the code and signed again is caught at its offset; a BUILDINFO naming
# another compiler gets the toolchain warning; a changed SHA256SUMS fails.
# The release is of a one-commit copy of the sources as they are now.
#   check_release.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

source "$source_dir/tests/test_authority.sh"
issue vendor "/CN=Meadowbrook Gate Test Publisher/O=Test" codeSigning
export_pkcs12 vendor

mkdir clone
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C clone -xf -
git -C clone init -q
git -C clone add -A
git -C clone -c user.name=Test -c user.email=test@example.com commit -q -m "the release"
commit=$(git -C clone rev-parse HEAD)
release="clone/dist/meadowbrookgate_setup-$(git -C clone rev-parse --short HEAD)"

# A checkout with a change that is not committed is refused.
echo "// not committed" >>clone/ui/main.cpp
if said=$(clone/scripts/release 2>&1); then
  fail "a checkout with uncommitted changes was released"
fi
grep -q "uncommitted changes" <<<"$said" || fail "the refusal does not say why: $said"
git -C clone checkout -q ui/main.cpp

clone/scripts/release -DMBG_SIGNING_CERT="$work/vendor.p12" -DMBG_SIGNING_PASSWORD_FILE="$work/secret.txt" \
  -DMBG_TIMESTAMP_URL=none >release.log 2>&1 || fail "the release failed: $(tail -5 release.log)"
grep -qx "COMMIT: $commit" "$release/BUILDINFO" || fail "BUILDINFO does not name the commit"

verify() { # folder expected-status -> its output in verify.log
  local status=0
  clone/scripts/verify-release "$1" -CAfile ca.crt >verify.log 2>&1 || status=$?
  [ "$status" = "$2" ] || fail "verify-release $1 ended with $status, not $2: $(cat verify.log)"
}
expect_said() { # what text
  grep -qF -- "$2" verify.log || fail "$1: verify-release did not say '$2': $(cat verify.log)"
}

verify "$release" 0
fingerprint=$(openssl x509 -in vendor.crt -noout -fingerprint -sha256 | cut -d= -f2)
expect_said "the release" "is the build of $commit (MBG_WEBSITE_HOST=www.meadowbrookgate.com), signed by CN=Meadowbrook Gate Test Publisher, O=Test, certificate SHA-256 $fingerprint"

copy() { # name: a copy of the release, to spoil
  cp -r "$release" "$1"
}
resum() { # folder: SHA256SUMS made anew, so only the spoilt part is wrong
  (cd "$1" && sha256sum meadowbrookgate_setup.exe BUILDINFO >SHA256SUMS)
}

# One byte of the code changed, and the program signed again with the same
# certificate: the signature holds, the bytes do not.
copy tampered
osslsigncode remove-signature -in tampered/meadowbrookgate_setup.exe -out unsigned.exe >/dev/null
text=$(i686-w64-mingw32-objdump -h unsigned.exe | awk '$2 == ".text" { print $6 }')
offset=$((16#$text + 64))
printf '\x90' | dd of=unsigned.exe bs=1 seek="$offset" conv=notrunc 2>/dev/null
osslsigncode sign -pkcs12 vendor.p12 -readpass secret.txt -h sha256 -in unsigned.exe -out resigned.exe >/dev/null
mv resigned.exe tampered/meadowbrookgate_setup.exe
resum tampered
verify tampered 1
expect_said "one changed byte" "is NOT the build of $commit: its bytes differ from the rebuild from offset $offset"
expect_said "one changed byte" "in section .text"

# Another compiler named: the warning comes before the comparing.
copy compiler
sed -i 's/^PACKAGE: g++-mingw-w64-i686-posix .*/PACKAGE: g++-mingw-w64-i686-posix 99.0-other/' compiler/BUILDINFO
resum compiler
verify compiler 0
expect_said "another compiler" "g++-mingw-w64-i686-posix $(dpkg-query -W -f '${Version}' g++-mingw-w64-i686-posix) here, 99.0-other in BUILDINFO"

copy sums
[ "$(head -c 1 sums/SHA256SUMS)" = 0 ] && digit=1 || digit=0
sed -i "1s/^./$digit/" sums/SHA256SUMS
verify sums 8
expect_said "a changed SHA256SUMS" "SHA256SUMS does not match: meadowbrookgate_setup.exe: FAILED"
echo "release of $commit verified; a changed byte at $offset, another compiler and a changed SHA256SUMS caught"
