#!/usr/bin/env bash
# Makes the release: the package dist/vortag-<version>/ (vortag.exe, README.txt for admins made
# from docs/admin.md, SHA256SUMS over both) and its archive dist/vortag-<version>.zip, the same bytes
# at every run from one commit, signed or not. The version is the one project() names in
# CMakeLists.txt, read from the build's CMake cache.
#   bash scripts/release.sh [--build FOLDER] [--dist FOLDER] [--allow-dirty] [--allow-x64-for-tests]
# Without --build it builds the 32-bit tool into build/ and packages that: the release. --build
# packages the vortag.exe of a folder built already, as it is, under a name marked -prebuilt
# (nothing ties that exe to the commit); --dist writes elsewhere than dist/. A build type other
# than the release's (BUILD_TYPE=Debug for scripts/build.sh) is marked -build-<type>.
# A release is one commit's: a work tree with uncommitted changes (untracked files included) is
# refused, or with --allow-dirty packaged under a name marked -dirty. The exe must be the 32-bit
# one; --allow-x64-for-tests lets the tests package build-x64/ on hosts that cannot run 32-bit
# programs, under a name marked -x64-test.
#
# A release is whole or absent: the package and its archive are made under another name in the
# dist folder and renamed into place when complete, the archive last; a release that fails or is
# stopped (SIGHUP, SIGINT, SIGTERM) removes what it made, and exits with 0 only when the release
# is there.
#
# Signing, before the checksums are taken: VORTAG_SIGN_PFX names a PKCS#12 file with the
# code-signing certificate and its key, VORTAG_SIGN_PASSWORD_FILE a file that holds its password
# (VORTAG_SIGN_PASSWORD, the password itself, is taken too), and the optional
# VORTAG_SIGN_TIMESTAMP_URL an RFC 3161 time-stamp server, the only one ever asked. The signing
# time is the commit's, so that signed releases are the same bytes too. A password or a
# time-stamp server without a certificate is refused: it meant a signed release.
set -euo pipefail
# The password stays in this shell, unexported, and leaves the environment before any program
# starts: children (git, the build, osslsigncode) would inherit it, and may show or log it.
set +a
sign_password=${VORTAG_SIGN_PASSWORD-}
export -n sign_password
unset VORTAG_SIGN_PASSWORD

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"

usage="usage: release.sh [--build FOLDER] [--dist FOLDER] [--allow-dirty] [--allow-x64-for-tests]"
build=
dist=$root/dist
allow_dirty=0
allow_x64=0
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$(cd "${2:?$usage}" && pwd); shift 2 ;;
    --dist) dist=${2:?$usage}; shift 2 ;;
    --allow-dirty) allow_dirty=1; shift ;;
    --allow-x64-for-tests) allow_x64=1; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
refuse() { echo "release: $*" >&2; exit 1; }
if [ -n "${VORTAG_SIGN_PASSWORD_FILE:-}" ]; then
  [ -z "$sign_password" ] || refuse "VORTAG_SIGN_PASSWORD and VORTAG_SIGN_PASSWORD_FILE: give one"
  [ -r "$VORTAG_SIGN_PASSWORD_FILE" ] || refuse "cannot read the password file $VORTAG_SIGN_PASSWORD_FILE"
fi
if [ -z "${VORTAG_SIGN_PFX:-}" ] &&
   [ -n "$sign_password${VORTAG_SIGN_PASSWORD_FILE:-}${VORTAG_SIGN_TIMESTAMP_URL:-}" ]; then
  refuse "a password or time-stamp server without a certificate: name it in VORTAG_SIGN_PFX," \
         "or drop VORTAG_SIGN_PASSWORD(_FILE) and VORTAG_SIGN_TIMESTAMP_URL for an unsigned release"
fi
# Appended to the version in the package's name and README.txt's title: what makes it no release.
mark=
warn_mark() { mark+=$1; echo "release: WARNING: $2: the package is marked $1"; }

if [ -z "$build" ]; then
  bash "$root/scripts/setup.sh"
fi
if ! changes=$(git -C "$root" status --porcelain 2>&1); then
  changes="no git work tree to tell the commit by: $changes"
fi
if [ -n "$changes" ]; then
  if [ $allow_dirty = 0 ]; then
    refuse "$root has changes that no commit holds (--allow-dirty packages them marked -dirty):
$(echo "$changes" | head -n 10 | sed 's/^/  /')"
  fi
  warn_mark -dirty "changes that no commit holds in $root"
fi
if [ -z "$build" ]; then
  bash "$root/scripts/build.sh" i686 vortag
  build=$(build_folder i686)
else
  warn_mark -prebuilt "$build was built before, not by this release from the commit"
fi

cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cached CMAKE_PROJECT_VERSION)
[ -n "$version" ] || refuse "$build/CMakeCache.txt names no CMAKE_PROJECT_VERSION"
build_type=$(cached CMAKE_BUILD_TYPE)
[ -n "$build_type" ] || refuse "$build/CMakeCache.txt names no CMAKE_BUILD_TYPE"
if [ "$build_type" != "$release_build_type" ]; then
  warn_mark "-build-${build_type,,}" "a $build_type build, a release is $release_build_type"
fi
# Every file of the archive and the signature carry one time: the commit's, unless
# SOURCE_DATE_EPOCH says.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || refuse "no commit to take the time from: set SOURCE_DATE_EPOCH"

# The machine a PE file is built for in four hex digits (014c: 32-bit x86, 8664: x86-64), or
# nothing when the file is no PE.
pe_machine() {
  local header signature
  header=$(od -An -tu4 --endian=little -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 0
  signature=$(od -An -tx1 -j"$header" -N4 "$1" 2>/dev/null | tr -d ' ')
  [ "$signature" = 50450000 ] || return 0
  od -An -tx2 --endian=little -j$((header + 4)) -N2 "$1" | tr -d ' '
}
exe=$build/bin/vortag.exe
machine=$(pe_machine "$exe")
if [ "$machine" = 8664 ] && [ $allow_x64 = 1 ]; then
  mark+=-x64-test
elif [ "$machine" != 014c ]; then
  refuse "$exe is not the 32-bit tool (PE machine ${machine:-none}, a release holds 014c):" \
         "build it with scripts/build.sh i686"
fi

# Authenticode signature of the exe in place, or one line saying that there is none.
sign() {
  local exe=$1
  if [ -z "${VORTAG_SIGN_PFX:-}" ]; then
    echo "release: vortag.exe is NOT signed (no certificate given in VORTAG_SIGN_PFX)"
    return
  fi
  # The commit's time as the signing time: RSA signatures are deterministic, so one commit
  # signed twice with one certificate gives the same bytes.
  local options=(-pkcs12 "$VORTAG_SIGN_PFX" -h sha256 -n "Nimbra VORTAG" -time "$epoch")
  local stamp=
  if [ -n "${VORTAG_SIGN_TIMESTAMP_URL:-}" ]; then
    options+=(-ts "$VORTAG_SIGN_TIMESTAMP_URL")
    stamp=", time-stamped by $VORTAG_SIGN_TIMESTAMP_URL"
  fi
  # A password given in the environment goes to osslsigncode in a file only this user can read
  # (mktemp's mode 0600), written by the printf builtin so that no command line holds it.
  local password_file=${VORTAG_SIGN_PASSWORD_FILE:-}
  if [ -z "$password_file" ]; then
    password_copy=$(mktemp)
    printf '%s' "$sign_password" >"$password_copy"
    password_file=$password_copy
  fi
  osslsigncode sign "${options[@]}" -readpass "$password_file" -in "$exe" -out "$exe.signed" >/dev/null ||
    { echo "release: signing vortag.exe with the certificate in $VORTAG_SIGN_PFX failed" >&2; return 1; }
  mv "$exe.signed" "$exe"
  echo "release: vortag.exe signed (Authenticode, SHA-256) with the certificate in $VORTAG_SIGN_PFX$stamp"
}

name=vortag-$version$mark
package=$dist/$name
password_copy=
staging=
# A release that fails or is stopped leaves no part of itself behind, and no release leaves the
# password. The signals end the release through its exit, with the shell's status for them.
trap 'status=$?; [ -z "$password_copy" ] || rm -f "$password_copy"
      [ -z "$staging" ] || rm -rf "$staging"
      [ $status = 0 ] || rm -rf "$package" "$package.zip"; exit $status' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
rm -rf "$package" "$package.zip"
# Made under a name of its own in the dist folder, on the same file system, so that renaming puts
# it under the release's name whole; only SIGKILL can leave this folder behind.
mkdir -p "$dist"
staging=$(mktemp -d "$dist/.partial-$name.XXXXXX")
made=$staging/$name
mkdir "$made"
cp "$exe" "$made/vortag.exe"
LC_ALL=C.UTF-8 iconv -f UTF-8 -t ASCII//TRANSLIT "$root/docs/admin.md" |
  awk -v title="Nimbra VORTAG $version$mark" -f "$root/scripts/readme-text.awk" |
  sed 's/$/\r/' >"$made/README.txt"
sign "$made/vortag.exe"
(cd "$made" && sha256sum README.txt vortag.exe >SHA256SUMS)

files=(README.txt SHA256SUMS vortag.exe)
# The replacements are quoted: unquoted, bash puts the matched text where a path has `&`.
chmod 644 "${files[@]/#/"$made/"}"
touch -d "@$epoch" "${files[@]/#/"$made/"}"
# zip writes local times: in UTC they are the same on every machine. -X leaves out the extra
# fields (owner, Unix times), -D the folder's own entry.
(cd "$staging" && TZ=UTC zip -q -X -D "$name.zip" "${files[@]/#/"$name/"}")
# The archive last: an archive under the release's name is a whole release.
mv -T "$made" "$package"
mv -T "$staging/$name.zip" "$package.zip"
echo "release: $package/ and $package.zip ($(stat -c %s "$package.zip") bytes)"
sed 's/^/  /' "$package/SHA256SUMS"
