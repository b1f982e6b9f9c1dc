#!/usr/bin/env bash
# Installs what building and testing both targets need on Debian 12: the mingw-w64 cross
# compilers (i686 and x86_64), 32-bit and 64-bit Wine, Xvfb, GoogleTest's sources, ImageMagick
# (screenshots), pefile for Debian's Python (the check of the built tool's resources), what the
# release needs (git for the commit time, zip, unzip, osslsigncode for Authenticode signatures,
# openssl for the test's certificate) and the Spanish locale that the language tests run under.
# Idempotent: when everything is there it only checks. 32-bit Wine is installed on every host,
# though some cannot run it (see targets.sh).
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
          wine wine32:i386 wine64 xvfb xauth locales imagemagick python3-pefile
          git zip unzip osslsigncode openssl)

# Root runs the commands itself; anyone else through sudo.
as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "setup: installing needs root, and this is neither root nor has sudo: run as root: $*" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes the user's language from the host locale and silently falls back to English
# when that locale is not generated.
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  echo "setup: generating es_ES.UTF-8"
  as_root sed -i 's/^# *es_ES.UTF-8/es_ES.UTF-8/' /etc/locale.gen
  grep -q '^es_ES.UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
