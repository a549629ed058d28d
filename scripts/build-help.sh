#!/bin/sh
# Compiles the help pages in docs/help into data/tintora.chm with chmcmd (Debian
# package fp-utils). The compiled file is committed, so building the program does
# not need this tool; run this script after changing the pages.
set -eu
cd "$(dirname "$0")/../docs/help"
if ! command -v chmcmd >/dev/null 2>&1; then
    echo "chmcmd not found: install the Debian package fp-utils" >&2
    exit 1
fi
chmcmd tintora.hhp
mv tintora.chm ../../data/tintora.chm
echo "wrote data/tintora.chm"
