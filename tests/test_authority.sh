# Sourced by the signing and release tests: a throwaway certificate
# authority, made in the current folder (nothing secret is committed):
# ca.crt and its key, secret.txt with a fresh password in $secret, and
# issue and export_pkcs12 for the certificates it signs.
# shellcheck shell=bash

secret="throwaway-$RANDOM$RANDOM"
printf '%s\n' "$secret" >secret.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 -subj "/CN=Test Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null

# NAME.key and NAME.crt, and NAME.chain.pem: the certificate, then the authority's.
issue() { # name subject extended-key-usage
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "$2" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
    -extfile "$1.ext" -out "$1.crt" 2>/dev/null
  cat "$1.crt" ca.crt >"$1.chain.pem"
}

# NAME.p12: the key, the certificate and the authority's, locked with secret.txt.
export_pkcs12() { # name
  openssl pkcs12 -export -inkey "$1.key" -in "$1.crt" -certfile ca.crt -passout file:secret.txt -out "$1.p12"
}
