#!/bin/sh
# Installs the Debian packages named on the command line: as root directly, otherwise through
# sudo. Run by the configure step for the packages a fresh machine lacks.
set -e
if [ "$(id -u)" -eq 0 ]; then
    come=""
elif command -v sudo >/dev/null 2>&1; then
    come="sudo"
else
    echo "installa_pacchetti: not root and no sudo: install as root: apt-get install $*" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$come apt-get update -qq >/dev/null
$come apt-get install -y -qq --no-install-recommends "$@" >/dev/null
