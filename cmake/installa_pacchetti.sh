#!/bin/bash
# Installs the Debian packages named on the command line: as root directly, otherwise through
# sudo. Run by the configure step for the packages a fresh machine lacks; apt-get's own lines
# show each package as it is downloaded, so a long install is never silent.
set -eo pipefail
if [ "$(id -u)" -eq 0 ]; then
    come=""
elif command -v sudo >/dev/null 2>&1; then
    come="sudo"
else
    echo "installa_pacchetti: not root and no sudo: install as root: apt-get install $*" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
echo "installa_pacchetti: updating the package lists"
$come apt-get update -qq >/dev/null
echo "installa_pacchetti: downloading and installing $*"
$come apt-get install -y -q --no-install-recommends "$@" | { grep -E '^(Get:|Need to get|Setting up)' || true; }
