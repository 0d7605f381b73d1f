#!/usr/bin/env bash
# Signs the program as a release build does, with a throwaway certificate
# authority and code-signing certificate made here (nothing secret is
# committed), and checks what comes out: a signature that verifies against
# that authority, by that certificate, over SHA-256; the unsigned program
# back, byte for byte, when the signature is removed; two signed builds
# alike; a time stamp from a local time-stamping authority; and bad input
# stopping the build with its message and no program.
#   check_signing.sh SOURCE_DIR UNSIGNED_EXE SIGNED_COPY WEBSITE_HOST pkcs12|token
# pkcs12: the key is in a .p12 file with the certificate. token: the key is
# on a throwaway software token (SoftHSM2, in a folder of this run), signed
# through its PKCS#11 module, and the PIN is tried once per build.
# The signed program is left at SIGNED_COPY for the test that runs it.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
unsigned=$(realpath "$2")
signed_copy=$(realpath -m "$3")
host=$4
key_path=$5
work=$(mktemp -d)
responder=""
trap '[ -z "$responder" ] || kill "$responder" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The authority, a code-signing certificate it issues, and a TLS server
# certificate that is not for code signing.
source "$source_dir/tests/test_authority.sh"
printf 'not-the-secret\n' >wrong-secret.txt
issue vendor "/CN=Meadowbrook Gate Test Publisher/O=Test" codeSigning
issue server "/CN=www.example.com" serverAuth

# A time-stamping authority of its own, answering on 127.0.0.1.
openssl req -x509 -newkey rsa:2048 -nodes -keyout tsa.key -out tsa.crt -days 2 -subj "/CN=Test TSA" \
  -addext "basicConstraints=critical,CA:FALSE" -addext "keyUsage=critical,digitalSignature" \
  -addext "extendedKeyUsage=critical,timeStamping" 2>/dev/null
cat >tsa.cnf <<EOF
[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = $work/tsa.serial
crypto_device = builtin
signer_cert = $work/tsa.crt
signer_key = $work/tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
python3 "$source_dir/tests/timestamp_responder.py" "$work/tsa.cnf" "$work/tsa.port" &
responder=$!

configure() { # build-dir [settings...]; the log starts anew
  : >"$1.log"
  cmake -S "$source_dir" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF -DMBG_WEBSITE_HOST="$host" \
    -DMBG_SIGNING_PASSWORD_FILE="$work/secret.txt" "${signing[@]}" "${@:2}" >>"$1.log" 2>&1
}
build() { # build-dir; its output goes on to build-dir.log
  cmake --build "$1" --target meadowbrookgate_setup >>"$1.log" 2>&1
}
# CMake wraps its messages: compare with the lines joined.
said() { # build-dir message
  tr -s ' \n' ' ' <"$1.log" | grep -qF "$2"
}
# A refused build: the message names the problem, and no program is left.
expect_refused() { # build-dir message [settings...]
  if configure "$1" "${@:3}"; then
    ! build "$1" || fail "the build signed with bad input ($2)"
  fi
  said "$1" "$2" || fail "the build did not say '$2': $(grep -A4 'CMake Error' "$1.log" | tail -8)"
  [ ! -e "$1/meadowbrookgate_setup.exe" ] || fail "a program was left behind after '$2'"
  [ ! -e "$1/meadowbrookgate_setup.exe.signing" ] || fail "a half-signed program was left behind"
}
expect_signed() { # build-dir [settings...]
  configure "$@" || fail "configuring $1 failed: $(tail -5 "$1.log")"
  build "$1" || fail "the signed build in $1 failed: $(grep -A6 'CMake Error' "$1.log")"
}
verify() { # program [more options]
  osslsigncode verify -CAfile ca.crt "${@:2}" -in "$1" 2>&1 ||
    { echo "FAIL: osslsigncode verify against the test authority failed" >&2; return 1; }
}

if [ "$key_path" = token ]; then
  # A software token that lives in this run's folder only.
  mkdir tokens
  printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$work/tokens" >softhsm2.conf
  export SOFTHSM2_CONF="$work/softhsm2.conf"
  softhsm2-util --init-token --free --label Test-Vendor --pin "$secret" --so-pin "so-$secret" >/dev/null
  id=0
  for name in vendor server; do
    openssl pkcs8 -topk8 -nocrypt -in "$name.key" -out "$name.p8"
    softhsm2-util --import "$name.p8" --token Test-Vendor --label "$name" --id "0$((++id))" \
      --pin "$secret" >/dev/null
  done
  module=$(find /usr/lib -name libsofthsm2.so -path '*softhsm*' | head -n 1)
  [ -n "$module" ] || fail "SoftHSM2's PKCS#11 module is not installed (scripts/bootstrap installs softhsm2)"
  signing=(-DMBG_SIGNING_PKCS11_MODULE="$module" -DMBG_SIGNING_CERT="$work/vendor.chain.pem"
    "-DMBG_SIGNING_KEY=pkcs11:token=Test-Vendor;object=vendor")
else
  export_pkcs12 vendor
  export_pkcs12 server
  signing=(-DMBG_SIGNING_CERT="$work/vendor.p12")
fi

expect_signed first
program=first/meadowbrookgate_setup.exe
verified=$(verify "$program")
grep -q "Signature verification: ok" <<<"$verified" || fail "no verified signature: $verified"
grep -Eq "Message digest algorithm *: SHA256" <<<"$verified" || fail "the digest is not SHA-256"
signer=$(awk '/Signer.s certificate:/ { found = 1 } found && /Serial :/ { print $3; exit }' <<<"$verified")
vendor=$(openssl x509 -in vendor.crt -noout -serial | cut -d= -f2)
[ "$signer" = "$vendor" ] || fail "the signer is $signer, not the vendor's certificate $vendor"
grep -q "URL description: https://$host" <<<"$verified" || fail "the signature does not name https://$host"
osslsigncode remove-signature -in "$program" -out unsigned-again.exe >/dev/null
cmp -s unsigned-again.exe "$unsigned" || fail "without its signature the program differs from the unsigned build"
! grep -rqF "$secret" first/CMakeCache.txt first.log || fail "the password or PIN got into the cache or the build's output"
said first "has no time stamp" || fail "a signature without a time stamp was not warned about"

# Bad input, each in the same build folder: every one stops the build;
# once all is put right the folder signs, and its program is the first one
# byte for byte, without a warning when the vendor said "none".
if [ "$key_path" = token ]; then
  expect_refused second "MBG_SIGNING_PKCS11_MODULE names no file" -DMBG_SIGNING_PKCS11_MODULE="$work/none.so"
  expect_refused second "MBG_SIGNING_PASSWORD_FILE names no file" -DMBG_SIGNING_PASSWORD_FILE="$work/no-pin.txt"
  expect_refused second "the token or the key is not there" "-DMBG_SIGNING_KEY=pkcs11:token=Nobody;object=vendor"
  expect_refused second "does not match the key" -DMBG_SIGNING_CERT="$work/server.chain.pem"
  expect_refused second "is not for code signing" "-DMBG_SIGNING_KEY=pkcs11:token=Test-Vendor;object=server" \
    -DMBG_SIGNING_CERT="$work/server.chain.pem"
  # A wrong PIN, watched through OpenSC's PKCS#11 spy: the token is asked to
  # log in once, and never again.
  spy=$(find /usr/lib -name pkcs11-spy.so | head -n 1)
  [ -n "$spy" ] || fail "OpenSC's pkcs11-spy.so is not installed (scripts/bootstrap installs opensc-pkcs11)"
  PKCS11SPY=$module PKCS11SPY_OUTPUT="$work/spy.log" expect_refused second "wrong PIN" \
    -DMBG_SIGNING_PKCS11_MODULE="$spy" -DMBG_SIGNING_PASSWORD_FILE="$work/wrong-secret.txt"
  logins=$(grep -c "C_Login" spy.log || true)
  [ "$logins" = 1 ] || fail "the build logged in to the token $logins times with a wrong PIN"
else
  expect_refused second "is not for code signing" -DMBG_SIGNING_CERT="$work/server.p12"
  expect_refused second "wrong password" -DMBG_SIGNING_PASSWORD_FILE="$work/wrong-secret.txt"
fi
expect_signed second -DMBG_TIMESTAMP_URL=none
cmp -s "$program" second/meadowbrookgate_setup.exe || fail "two signed builds differ"
! said second "has no time stamp" || fail "MBG_TIMESTAMP_URL=none still warned"

# A time-stamping server that can't be reached stops the build rather than
# leaving a signature without its time stamp; the local one stamps it.
expect_refused second "with a time stamp from http://127.0.0.1:9/" -DMBG_TIMESTAMP_URL=http://127.0.0.1:9/
for _ in $(seq 100); do [ -s tsa.port ] && break; sleep 0.05; done
expect_signed second -DMBG_TIMESTAMP_URL="http://127.0.0.1:$(cat tsa.port)/"
stamped=$(verify second/meadowbrookgate_setup.exe -TSA-CAfile tsa.crt)
grep -q "Timestamp Server Signature verification: ok" <<<"$stamped" ||
  fail "the program carries no time stamp that verifies against the test TSA: $stamped"

mkdir -p "$(dirname "$signed_copy")"
cp "$program" "$signed_copy"
echo "$key_path: signed $(stat -c %s "$program") bytes, unsigned $(stat -c %s "$unsigned"); verified against the test authority, SHA-256, signer $signer; two builds identical; time stamp from the local TSA verified; bad input refused"
