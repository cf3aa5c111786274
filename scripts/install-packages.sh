#!/bin/sh
# Installs the Debian packages named as arguments that are not installed yet,
# without their recommended extras. Safe to run again: apt is asked only when
# something is missing, and root is needed only then.
#
#   scripts/install-packages.sh cmake ninja-build
set -eu

missing=""
for package in "$@"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done
[ -n "$missing" ] || exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "install-packages.sh: missing packages:$missing; run as root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
