#!/usr/bin/env bash
# The release of one build folder's tool, into a temporary folder, made by the release script in
# a scratch git repository that holds it committed (so that the state of the project's own tree
# does not matter): unsigned, the exe must be the build's and the archive the same twice, also in
# a folder whose name has `&`, and marked as packaged from a build folder (and of another build
# type, for a Debug one); signed with a throwaway certificate, the signature and the checksums must
# verify and fail for one changed byte, two signed releases must be the same bytes with the
# commit's time as the signing time, and the password must reach no program's command line or
# environment; stopped while signing, a release leaves nothing (SIGKILL: nothing under its name);
# an exe that is not the 32-bit one, a password without a certificate and a tree with uncommitted
# changes are refused; the signed tool must still make a quiet change under Wine (in the build's
# prefix, whose wineserver runs) and start the collector.
#   bash tests/release/release-test.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d)
identifier_key='HKCR\Nimbra.Agent.QRM'
# The quiet change replaces the prefix's identifier: put back what was there before (in the
# registry view of the 32-bit suite, where both builds of the tool keep it).
wine reg export "$identifier_key" "$work/identifier.reg" /y /reg:32 >/dev/null 2>&1 || true
cleanup() {
  wine reg delete "$identifier_key" /f /reg:32 >/dev/null 2>&1 || true
  [ ! -f "$work/identifier.reg" ] || wine reg import "$work/identifier.reg" /reg:32 >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

tree=$work/tree
commit_time=981173106
mkdir -p "$tree/docs"
cp -r "$root/scripts" "$tree/"
cp "$root/docs/admin.md" "$tree/docs/"
git -C "$tree" init -q
git -C "$tree" add -A
GIT_COMMITTER_DATE="$commit_time +0000" git -C "$tree" -c user.name=test \
  -c user.email=test@example.invalid -c commit.gpgsign=false commit -qm "release test"
# The 64-bit build's tool is packaged only when the test says so (hosts without 32-bit programs).
this_build=(--build "$build")
[ "$WINEARCH" = win32 ] || this_build+=(--allow-x64-for-tests)

# The scratch tree's release into $work/NAME, with the VAR=value settings and then the options
# that follow (no signing variable unless given); its output goes to $work/NAME.log.
try_release() {
  local dist=$work/$1 settings=(); shift
  while [[ ${1:-} = *=* ]]; do settings+=("$1"); shift; done
  env -u VORTAG_SIGN_PFX -u VORTAG_SIGN_PASSWORD -u VORTAG_SIGN_PASSWORD_FILE \
    -u VORTAG_SIGN_TIMESTAMP_URL "${settings[@]}" \
    bash "$tree/scripts/release.sh" --dist "$dist" "$@" >"$dist.log" 2>&1
}
# A release of this build's tool (of the folder $from instead, when set: the last --build counts)
# that must succeed; sets $package.
release() {
  try_release "$@" "${this_build[@]}" ${from:+--build "$from"} ||
    { cat "$work/$1.log" >&2; fail "release.sh $*"; }
  package=$(echo "$work/$1"/vortag-*/)
  package=${package%/}
}
# The package's name and README.txt's title carry the mark $1.
marked() {
  [[ ${package##*/} = vortag-*"$1"* ]] || fail "a package to be marked $1 is named ${package##*/}"
  head -n 1 "$package/README.txt" | grep -q -- "$1" ||
    fail "README.txt of a package to be marked $1 is headed $(head -n 1 "$package/README.txt")"
}

release plain
name=$(basename "$package")
marked -prebuilt
grep -q "NOT signed" "$work/plain.log" || fail "the unsigned release did not say so"
cmp "$package/vortag.exe" "$build/bin/vortag.exe" || fail "the unsigned exe is not the build's"
grep -q $'^Exit codes\r$' "$package/README.txt" || fail "README.txt lacks the exit codes or CRLF line ends"
[ "$(unzip -Z1 "$package.zip" | tr '\n' ' ')" = "$name/README.txt $name/SHA256SUMS $name/vortag.exe " ] ||
  fail "the archive holds $(unzip -Z1 "$package.zip")"
release 'again & again'
cmp "$work/plain/$name.zip" "$package.zip" || fail "two unsigned archives differ"
# This build's exe in a folder whose cache names another build type.
mkdir -p "$work/debug/bin"
cp "$build/bin/vortag.exe" "$work/debug/bin/"
sed 's/^\(CMAKE_BUILD_TYPE:[A-Z]*=\).*/\1Debug/' "$build/CMakeCache.txt" >"$work/debug/CMakeCache.txt"
from=$work/debug release debug-type
marked -build-debug

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=VORTAG release test" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
password=Pw-7c1e-only-here
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout "pass:$password" \
  -out "$work/sign.pfx"
printf '%s\n' "$password" >"$work/password"
# Spies ahead of PATH log the command line and environment of the programs they stand for (the
# release's first child, git and the signer) and the mode of the signer's password file.
mkdir "$work/spies"
cat >"$work/spies/spy" <<SPY
#!/usr/bin/env bash
previous=
{
  echo "ran \${0##*/} \$*"
  env
  for arg; do
    [ "\$previous" != -readpass ] || stat -c "readpass %a %n" "\$arg"
    previous=\$arg
  done
} >>"$work/spied.log"
# Told to, the signer stops the release as a signal to their process group would.
[ "\${0##*/}" != osslsigncode ] || [ ! -e "$work/stop-signing" ] || kill -"\$(cat "$work/stop-signing")" \$PPID \$\$
PATH=\${PATH#"$work/spies:"} exec "\${0##*/}" "\$@"
SPY
chmod +x "$work/spies/spy"
for program in dirname git osslsigncode; do ln -s spy "$work/spies/$program"; done
release signed PATH="$work/spies:$PATH" VORTAG_SIGN_PFX="$work/sign.pfx" VORTAG_SIGN_PASSWORD="$password"
release signed-again VORTAG_SIGN_PFX="$work/sign.pfx" VORTAG_SIGN_PASSWORD_FILE="$work/password"

for program in dirname git osslsigncode; do
  grep -q "^ran $program " "$work/spied.log" || fail "the spy saw no $program run"
done
! grep -F "$password" "$work/spied.log" ||
  fail "the password reached a program's command line or environment"
read -r mode password_copy < <(sed -n 's/^readpass //p' "$work/spied.log") || true
[ "$mode" = 600 ] || fail "osslsigncode read the password from a file of mode $mode"
[ ! -e "$password_copy" ] || fail "the password's copy $password_copy outlived the release"
cmp "$package.zip" "$work/signed/$name.zip" || fail "two signed archives of one commit differ"
verified() { osslsigncode verify -in "$1/vortag.exe" -CAfile "$work/cert.pem" >"$1.verify" 2>&1; }
summed() { (cd "$1" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1); }
verified "$package" || fail "the signature of the signed exe does not verify"
grep -q "Signing time: $(LC_ALL=C date -u -d "@$commit_time" '+%b %e %T %Y') GMT" "$package.verify" ||
  fail "the signing time is not the commit's: $(grep 'Signing time' "$package.verify")"
summed "$package" || fail "SHA256SUMS does not match the signed package"
cp -r "$package" "$work/tampered"
byte=$(od -An -tu1 -j4096 -N1 "$package/vortag.exe")
printf "\\$(printf %o $((byte ^ 1)))" | dd of="$work/tampered/vortag.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
! verified "$work/tampered" || fail "a changed byte left the signature valid"
! summed "$work/tampered" || fail "a changed byte left SHA256SUMS matching"
# Stopped while signing: SIGTERM leaves nothing, SIGKILL nothing under the release's name.
for signal in TERM KILL; do
  echo $signal >"$work/stop-signing"
  code=0
  try_release stopped-$signal PATH="$work/spies:$PATH" VORTAG_SIGN_PFX="$work/sign.pfx" \
    VORTAG_SIGN_PASSWORD="$password" "${this_build[@]}" || code=$?
  [ $code = $((128 + $(kill -l $signal))) ] || fail "the release stopped by SIG$signal ended with $code"
  left=$(ls -A "$work/stopped-$signal")
  ! compgen -G "$work/stopped-$signal/vortag-*" >/dev/null || fail "SIG$signal left $left"
  [ $signal = KILL ] || [ -z "$left" ] || fail "SIG$signal left $left"
  password_copy=$(sed -n 's/^readpass [0-9]* //p' "$work/spied.log" | tail -n 1)
  [ $signal = KILL ] || [ ! -e "$password_copy" ] || fail "SIG$signal left the password's copy"
  rm -f "$password_copy"
done
rm "$work/stop-signing"

# Refused: a build whose exe names machine 0x8664 in its PE header (the 64-bit tool) without the
# test's option, a password without a certificate, and a tree with a change that no commit holds.
mkdir -p "$work/x64/bin"
cp "$build/CMakeCache.txt" "$work/x64/"
cp "$build/bin/vortag.exe" "$work/x64/bin/"
header=$(od -An -tu4 --endian=little -j60 -N4 "$build/bin/vortag.exe")
printf '\x64\x86' | dd of="$work/x64/bin/vortag.exe" bs=1 seek=$((header + 4)) conv=notrunc 2>/dev/null
! try_release x64-exe --build "$work/x64" || fail "release.sh packaged a 64-bit exe"
grep -q "PE machine 8664" "$work/x64-exe.log" || fail "the refused 64-bit exe: $(cat "$work/x64-exe.log")"
for setting in VORTAG_SIGN_PASSWORD="$password" VORTAG_SIGN_PASSWORD_FILE="$work/password"; do
  ! try_release unsigned "$setting" "${this_build[@]}" || fail "release.sh took ${setting%%=*} without a certificate"
  grep -q "without a certificate" "$work/unsigned.log" || fail "the refused ${setting%%=*}: $(cat "$work/unsigned.log")"
done
echo >>"$tree/docs/admin.md"
! try_release dirty-tree "${this_build[@]}" || fail "release.sh packaged a tree with a change"
grep -q "no commit holds" "$work/dirty-tree.log" || fail "the refused tree: $(cat "$work/dirty-tree.log")"
release dirty --allow-dirty
marked -dirty

mkdir "$work/suite"
cp "$work/signed/$name/vortag.exe" "$build/bin/Brevast.exe" "$work/suite/"
code=0
(cd "$work/suite" && wine ./vortag.exe QUIET) >/dev/null 2>&1 || code=$?
[ $code = 0 ] || fail "the signed vortag.exe QUIET ended with $code"
# The tool does not wait for the collector it starts: give it ten seconds to write its log.
for _ in $(seq 100); do grep -qs "/DELFLAGS" "$work/suite/Brevast.log" && break; sleep 0.1; done
grep -qs "/DELFLAGS" "$work/suite/Brevast.log" || fail "the signed tool did not start the collector with /DELFLAGS"
echo "release of $build: unsigned and signed identical run to run, marked, signed and verified, password" \
     "kept from children, nothing left when stopped, 64-bit exe, password alone and dirty tree" \
     "refused, runs under Wine"
