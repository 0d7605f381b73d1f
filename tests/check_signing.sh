#!/usr/bin/env bash
# Signs the program as a release build does, with a throwaway certificate
# authority and a code-signing certificate made here (nothing secret is
# committed), and checks what comes out: a signature that verifies against
# that authority, by that certificate, over SHA-256; the unsigned program
# back, byte for byte, when the signature is removed; two signed builds
# alike; and bad input stopping the build with its message and no program.
#   check_signing.sh SOURCE_DIR UNSIGNED_EXE SIGNED_COPY WEBSITE_HOST
# The signed program is left at SIGNED_COPY for the test that runs it.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
unsigned=$(realpath "$2")
signed_copy=$(realpath -m "$3")
host=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The authority, a code-signing certificate it issues, and a TLS server
# certificate that is not for code signing, each with its key in a
# PKCS#12 file under one password.
password="throwaway $RANDOM$RANDOM"
printf '%s\n' "$password" >password.txt
printf 'not the password\n' >wrong-password.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 -subj "/CN=Test Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
issue() { # name subject extended-key-usage
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "$2" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
    -extfile "$1.ext" -out "$1.crt" 2>/dev/null
  openssl pkcs12 -export -inkey "$1.key" -in "$1.crt" -certfile ca.crt -passout file:password.txt \
    -out "$1.p12"
}
issue vendor "/CN=Meadowbrook Gate Test Publisher/O=Test" codeSigning
issue server "/CN=www.example.com" serverAuth

configure() { # build-dir certificate password-file [more settings]
  cmake -S "$source_dir" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF -DMBG_WEBSITE_HOST="$host" \
    -DMBG_SIGNING_CERT="$2" -DMBG_SIGNING_PASSWORD_FILE="$3" "${@:4}" >>"$1.log" 2>&1 ||
    fail "configuring $1 failed: $(tail -5 "$1.log")"
}
build() { # build-dir; its output goes on to build-dir.log
  cmake --build "$1" --target meadowbrookgate_setup >>"$1.log" 2>&1
}
# A refused build: the message names the problem, and no program is left.
expect_refused() { # build-dir message
  ! build "$1" || fail "the build signed with bad input"
  # CMake wraps its messages: compare with the lines joined.
  tr -s ' \n' ' ' <"$1.log" | grep -qF "$2" ||
    fail "the build did not say '$2': $(grep -A3 'CMake Error' "$1.log")"
  [ ! -e "$1/meadowbrookgate_setup.exe" ] || fail "a program was left behind after '$2'"
  [ ! -e "$1/meadowbrookgate_setup.exe.signing" ] || fail "a half-signed program was left behind"
}

configure first "$work/vendor.p12" "$work/password.txt"
build first || fail "the signed build failed: $(grep -A5 'CMake Error' first.log)"
program=first/meadowbrookgate_setup.exe
verified=$(osslsigncode verify -CAfile ca.crt -in "$program" 2>&1) ||
  fail "osslsigncode verify against the test authority failed: $verified"
grep -q "Signature verification: ok" <<<"$verified" || fail "no verified signature: $verified"
grep -Eq "Message digest algorithm *: SHA256" <<<"$verified" || fail "the digest is not SHA-256"
signer=$(awk '/Signer.s certificate:/ { found = 1 } found && /Serial :/ { print $3; exit }' <<<"$verified")
vendor=$(openssl x509 -in vendor.crt -noout -serial | cut -d= -f2)
[ "$signer" = "$vendor" ] || fail "the signer is $signer, not the vendor's certificate $vendor"
grep -q "URL description: https://$host" <<<"$verified" || fail "the signature does not name https://$host"

osslsigncode remove-signature -in "$program" -out unsigned-again.exe >/dev/null
cmp -s unsigned-again.exe "$unsigned" || fail "without its signature the program differs from the unsigned build"
! grep -rqF "$password" first/CMakeCache.txt first.log || fail "the password got into the cache or the build's output"

# A certificate that is not for code signing, then a wrong password, in
# one build folder: each stops the build; once both are put right the same
# folder signs, and its program is the first one byte for byte.
configure second "$work/server.p12" "$work/password.txt"
expect_refused second "is not for code signing"
configure second "$work/vendor.p12" "$work/wrong-password.txt"
expect_refused second "wrong password"
cp password.txt wrong-password.txt
build second || fail "the build after the password was put right failed: $(grep -A5 'CMake Error' second.log)"
cmp -s "$program" second/meadowbrookgate_setup.exe || fail "two signed builds differ"
# A time-stamping server that can't be reached stops the build too, rather
# than leaving a signature without its time stamp.
configure second "$work/vendor.p12" "$work/password.txt" -DMBG_TIMESTAMP_URL=http://127.0.0.1:9/
expect_refused second "with a time stamp from http://127.0.0.1:9/"

mkdir -p "$(dirname "$signed_copy")"
cp "$program" "$signed_copy"
echo "signed: $(stat -c %s "$program") bytes, unsigned $(stat -c %s "$unsigned"); verified against the test authority, SHA-256, signer $signer; two builds identical; bad certificate, wrong password and unreachable time-stamping server refused"
