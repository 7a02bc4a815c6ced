#!/usr/bin/env bash
# Authenticode signatures on the Windows files, with osslsigncode, when a code-signing
# certificate is given through the environment:
#   TIRVELON_SIGN_CERT       the certificate and its private key, a .pfx / .p12 file
#   TIRVELON_SIGN_PASSWORD   its password (empty when it has none)
#   TIRVELON_SIGN_TIMESTAMP  an RFC 3161 timestamp server's URL (optional): a timestamped
#                            signature stays valid after the certificate expires
#
#   sign.sh --check      says in one line whether the files will be signed; fails when the
#                        certificate cannot be read with that password
#   sign.sh <file>...    signs each .exe / .dll in place; does nothing without a certificate
#
# package.sh checks first, before anything is gathered, so a wrong password stops the build
# before any file is signed, and signs every file before it is zipped or packed by NSIS (which
# calls this script on its uninstaller and installer).
set -euo pipefail

me=sign.sh
fail() {
  echo "$me: $*" >&2
  exit 1
}

cert=${TIRVELON_SIGN_CERT:-}
password=${TIRVELON_SIGN_PASSWORD:-}
timestamp=${TIRVELON_SIGN_TIMESTAMP:-}

# Reads one part of the .pfx (-nokeys: the certificates, -nocerts: the key) as PEM. OpenSSL 3
# reads the older RC2-encrypted files, which Windows' own export still writes, only through its
# legacy provider.
pfx_part() {
  TIRVELON_SIGN_PASSWORD=$password openssl pkcs12 -in "$cert" -passin env:TIRVELON_SIGN_PASSWORD \
    "$1" -nodes 2>/dev/null ||
    TIRVELON_SIGN_PASSWORD=$password openssl pkcs12 -legacy -in "$cert" \
      -passin env:TIRVELON_SIGN_PASSWORD "$1" -nodes 2>/dev/null
}

check() {
  if [ ! -f "$cert" ] || [ ! -r "$cert" ]; then
    fail "cannot read the certificate TIRVELON_SIGN_CERT=$cert"
  fi
  local certs key
  certs=$(pfx_part -nokeys) ||
    fail "cannot open $cert: the password (TIRVELON_SIGN_PASSWORD) is wrong or the file is not a .pfx/.p12"
  key=$(pfx_part -nocerts) || fail "cannot read the private key in $cert"
  grep -q 'PRIVATE KEY' <<<"$key" || fail "$cert holds no private key"
  grep -q 'BEGIN CERTIFICATE' <<<"$certs" || fail "$cert holds no certificate"
  # The first certificate is the signer's (openssl lists the key's own certificate first).
  local signer
  signer=$(openssl x509 -noout -subject -nameopt oneline <<<"$certs" | sed 's/^subject= *//')
  openssl x509 -noout -checkend 0 <<<"$certs" >/dev/null ||
    fail "the certificate in $cert ($signer) has expired"
  echo "$signer"
}

if [ "${1:-}" = --check ]; then
  if [ -z "$cert" ]; then
    echo "$me: TIRVELON_SIGN_CERT is not set: the Windows files are not signed"
    exit 0
  fi
  signer=$(check)
  echo "$me: signing the Windows files as $signer${timestamp:+, timestamped by $timestamp}"
  exit 0
fi

[ $# -gt 0 ] || fail "usage: $me --check | $me <file>..."
[ -n "$cert" ] || exit 0
check >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The password goes through a private file, never on a command line that ps would show.
(umask 077 && printf '%s' "$password" >"$scratch/password")

args=(-pkcs12 "$cert" -readpass "$scratch/password" -h sha256 -n Tirvelon)
[ -z "$timestamp" ] || args+=(-ts "$timestamp")

for file in "$@"; do
  [ -f "$file" ] || fail "$file does not exist"
  out=$scratch/signed
  rm -f "$out"
  if ! log=$(osslsigncode sign "${args[@]}" -in "$file" -out "$out" 2>&1); then
    fail "could not sign $file:
$log"
  fi
  # Copied over rather than moved, so the file keeps its own permissions.
  cat "$out" >"$file"
done
