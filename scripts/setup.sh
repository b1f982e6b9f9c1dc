#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: the mingw-w64 cross compiler,
# 32-bit Wine, Xvfb, GoogleTest's sources, ImageMagick (screenshots) and the Spanish locale
# that the language tests run under. Idempotent: when everything is there it only checks.
set -euo pipefail

packages=(cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 googletest
          wine wine32:i386 xvfb xauth locales imagemagick)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

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
