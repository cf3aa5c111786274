#!/usr/bin/env bash
# Makes the locales that diadim's tests run under:
#   ja_JP.WINDOWS-31J  code page 932, the code page of the host on a Japanese system
#   ja_JP.UTF-8        the locale the Windows build is run under on Linux
#
# Run as root. Safe to run again: a locale that already works is left alone,
# and when both work the script changes nothing and ends at once. The
# `locales` package is installed only when the locale sources are missing.
set -euo pipefail

CP932_LOCALE=ja_JP.WINDOWS-31J
UTF8_LOCALE=ja_JP.UTF-8

# Whether `locale` names a locale the C library can load, with the character
# set `charmap`.
locale_works() {
  [ "$(LC_ALL=$1 locale charmap 2>/dev/null)" = "$2" ]
}

# Whether the code page 932 locale really decodes double-byte characters:
# 0x83 0xD3 must be one character, U+03C6. The shell decodes with the C
# library's multibyte functions, as diadim does.
cp932_decodes() {
  local phi
  phi=$(printf '\203\323')
  [ "$(LC_ALL=$CP932_LOCALE bash -c 'printf "%d %x" "${#1}" "$2"' _ "$phi" "'$phi" 2>/dev/null)" \
    = "1 3c6" ]
}

cp932_ready() {
  locale_works "$CP932_LOCALE" WINDOWS-31J && cp932_decodes
}

utf8_ready() {
  locale_works "$UTF8_LOCALE" UTF-8
}

if cp932_ready && utf8_ready; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup-locales.sh: $CP932_LOCALE or $UTF8_LOCALE is missing; run this script as root" >&2
  exit 1
fi

I18N=/usr/share/i18n
sources_present() {
  command -v localedef >/dev/null 2>&1 &&
    [ -e "$I18N/locales/ja_JP" ] &&
    { [ -e "$I18N/charmaps/WINDOWS-31J.gz" ] || [ -e "$I18N/charmaps/WINDOWS-31J" ]; } &&
    { [ -e "$I18N/charmaps/UTF-8.gz" ] || [ -e "$I18N/charmaps/UTF-8" ]; }
}

if ! sources_present; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends locales
fi

# Listed in /etc/locale.gen as well, so that a later locale-gen (which
# rebuilds every listed locale from scratch) keeps them.
if [ -f /etc/locale.gen ]; then
  for entry in "$CP932_LOCALE WINDOWS-31J" "$UTF8_LOCALE UTF-8"; do
    grep -qx "$entry" /etc/locale.gen || echo "$entry" >>/etc/locale.gen
  done
fi

# localedef exits with 1 when it only warned (-c still writes the locale), so
# the result is judged by loading the locale afterwards.
if ! cp932_ready; then
  localedef -c -i ja_JP -f WINDOWS-31J "$CP932_LOCALE" || true
fi
if ! utf8_ready; then
  localedef -c -i ja_JP -f UTF-8 "$UTF8_LOCALE" || true
fi

status=0
if ! cp932_ready; then
  echo "setup-locales.sh: could not make $CP932_LOCALE" >&2
  status=1
fi
if ! utf8_ready; then
  echo "setup-locales.sh: could not make $UTF8_LOCALE" >&2
  status=1
fi
exit $status
