#!/usr/bin/env bash
# Makes the release: the package dist/vortag-<version>/ (vortag.exe, README.txt for admins made
# from README.md, SHA256SUMS over both) and its archive dist/vortag-<version>.zip, the same bytes
# at every run from one commit. The version is the one project() names in CMakeLists.txt, read
# from the build's CMake cache.
#   bash scripts/release.sh [--build FOLDER] [--dist FOLDER]
# Without --build it builds the 32-bit tool into build/ and packages that: the release. --build
# packages the vortag.exe of a folder built already, as it is (the tests package build-x64/ on
# hosts that cannot run 32-bit programs); --dist writes elsewhere than dist/.
#
# Signing, before the checksums are taken: VORTAG_SIGN_PFX names a PKCS#12 file with the
# code-signing certificate and its key, VORTAG_SIGN_PASSWORD its password, and the optional
# VORTAG_SIGN_TIMESTAMP_URL an RFC 3161 time-stamp server.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"

usage="usage: release.sh [--build FOLDER] [--dist FOLDER]"
build=
dist=$root/dist
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$(cd "${2:?$usage}" && pwd); shift 2 ;;
    --dist) dist=${2:?$usage}; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
if [ -z "$build" ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" i686 vortag
  build=$(build_folder i686)
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "release: $build/CMakeCache.txt names no CMAKE_PROJECT_VERSION" >&2; exit 1; }
# Every file of the archive carries one time: the commit's, unless SOURCE_DATE_EPOCH says.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "release: no commit to take the time from: set SOURCE_DATE_EPOCH" >&2; exit 1; }

# Authenticode signature of the exe in place, or one line saying that there is none.
sign() {
  local exe=$1
  if [ -z "${VORTAG_SIGN_PFX:-}" ]; then
    echo "release: vortag.exe is NOT signed (no certificate given in VORTAG_SIGN_PFX)"
    return
  fi
  local options=(-pkcs12 "$VORTAG_SIGN_PFX" -h sha256 -n "Nimbra VORTAG")
  local stamp=
  if [ -n "${VORTAG_SIGN_TIMESTAMP_URL:-}" ]; then
    options+=(-ts "$VORTAG_SIGN_TIMESTAMP_URL")
    stamp=", time-stamped by $VORTAG_SIGN_TIMESTAMP_URL"
  fi
  # The password goes through a pipe: a command line is readable by every user of the machine.
  osslsigncode sign "${options[@]}" -readpass <(printf '%s' "${VORTAG_SIGN_PASSWORD:-}") \
    -in "$exe" -out "$exe.signed" >/dev/null ||
    { echo "release: signing vortag.exe with the certificate in $VORTAG_SIGN_PFX failed" >&2; return 1; }
  mv "$exe.signed" "$exe"
  echo "release: vortag.exe signed (Authenticode, SHA-256) with the certificate in $VORTAG_SIGN_PFX$stamp"
}

name=vortag-$version
package=$dist/$name
rm -rf "$package" "$package.zip"
# A release that fails leaves no half of itself behind.
trap 'status=$?; [ $status = 0 ] || rm -rf "$package" "$package.zip"; exit $status' EXIT
mkdir -p "$package"
cp "$build/bin/vortag.exe" "$package/vortag.exe"
LC_ALL=C.UTF-8 iconv -f UTF-8 -t ASCII//TRANSLIT "$root/README.md" |
  awk -v title="Nimbra VORTAG $version" -f "$root/scripts/readme-text.awk" |
  sed 's/$/\r/' >"$package/README.txt"
sign "$package/vortag.exe"
(cd "$package" && sha256sum README.txt vortag.exe >SHA256SUMS)

files=(README.txt SHA256SUMS vortag.exe)
chmod 644 "${files[@]/#/$package/}"
touch -d "@$epoch" "${files[@]/#/$package/}"
# zip writes local times: in UTC they are the same on every machine. -X leaves out the extra
# fields (owner, Unix times), -D the folder's own entry.
(cd "$dist" && TZ=UTC zip -q -X -D "$name.zip" "${files[@]/#/$name/}")
echo "release: $package/ and $package.zip ($(stat -c %s "$package.zip") bytes)"
sed 's/^/  /' "$package/SHA256SUMS"
