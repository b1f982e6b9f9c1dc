#!/usr/bin/env bash
# The release of one build folder's tool, into a temporary folder: unsigned, the exe must be the
# build's and the archive the same twice; signed with a throwaway certificate, the signature and
# the checksums must verify and fail for one changed byte, and the signed tool must still make a
# quiet change under Wine (in the build's prefix, whose wineserver runs) and start the collector.
#   bash tests/release/release-test.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d)
identifier_key='HKCR\Nimbra.Agent.QRM'
# The quiet change replaces the prefix's identifier: put back what was there before.
wine reg export "$identifier_key" "$work/identifier.reg" /y >/dev/null 2>&1 || true
cleanup() {
  wine reg delete "$identifier_key" /f >/dev/null 2>&1 || true
  [ ! -f "$work/identifier.reg" ] || wine reg import "$work/identifier.reg" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# A release into $work/NAME with the signing variables given (none: unsigned); sets $package.
release() {
  local dist=$work/$1; shift
  env -u VORTAG_SIGN_PFX -u VORTAG_SIGN_PASSWORD -u VORTAG_SIGN_TIMESTAMP_URL "$@" \
    bash "$root/scripts/release.sh" --build "$build" --dist "$dist" >"$dist.log" 2>&1 ||
    { cat "$dist.log" >&2; fail "release.sh $*"; }
  package=$(echo "$dist"/vortag-*/)
  package=${package%/}
}

release plain
name=$(basename "$package")
grep -q "NOT signed" "$work/plain.log" || fail "the unsigned release did not say so"
cmp "$package/vortag.exe" "$build/bin/vortag.exe" || fail "the unsigned exe is not the build's"
grep -q $'^Exit codes\r$' "$package/README.txt" || fail "README.txt lacks the exit codes or CRLF line ends"
[ "$(unzip -Z1 "$package.zip" | tr '\n' ' ')" = "$name/README.txt $name/SHA256SUMS $name/vortag.exe " ] ||
  fail "the archive holds $(unzip -Z1 "$package.zip")"
release again
cmp "$work/plain/$name.zip" "$package.zip" || fail "two unsigned archives differ"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=VORTAG release test" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:test-secret -out "$work/sign.pfx"
release signed VORTAG_SIGN_PFX="$work/sign.pfx" VORTAG_SIGN_PASSWORD=test-secret

verified() { osslsigncode verify -in "$1/vortag.exe" -CAfile "$work/cert.pem" >/dev/null 2>&1; }
summed() { (cd "$1" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1); }
verified "$package" || fail "the signature of the signed exe does not verify"
summed "$package" || fail "SHA256SUMS does not match the signed package"
cp -r "$package" "$work/tampered"
byte=$(od -An -tu1 -j4096 -N1 "$package/vortag.exe")
printf "\\$(printf %o $((byte ^ 1)))" | dd of="$work/tampered/vortag.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
! verified "$work/tampered" || fail "a changed byte left the signature valid"
! summed "$work/tampered" || fail "a changed byte left SHA256SUMS matching"

mkdir "$work/suite"
cp "$package/vortag.exe" "$build/bin/Brevast.exe" "$work/suite/"
code=0
(cd "$work/suite" && wine ./vortag.exe QUIET) >/dev/null 2>&1 || code=$?
[ $code = 0 ] || fail "the signed vortag.exe QUIET ended with $code"
# The tool does not wait for the collector it starts: give it ten seconds to write its log.
for _ in $(seq 100); do grep -qs "/DELFLAGS" "$work/suite/Brevast.log" && break; sleep 0.1; done
grep -qs "/DELFLAGS" "$work/suite/Brevast.log" || fail "the signed tool did not start the collector with /DELFLAGS"
echo "release of $build: unsigned identical run to run, signed and verified, runs under Wine"
