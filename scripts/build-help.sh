#!/bin/sh
# Compiles the help pages in docs/help, with the screenshots they show, into
# data/tintora.chm with chmcmd (Debian package fp-utils). The compiled file is
# committed, so building the program does not need this tool; run this script
# after changing the pages.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v chmcmd >/dev/null 2>&1; then
    echo "chmcmd not found: install the Debian package fp-utils" >&2
    exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$root"/docs/help/* "$work"/
cp "$root"/docs/screenshots/conversion-window.png "$work"/
(cd "$work" && chmcmd tintora.hhp >/dev/null)
mv "$work"/tintora.chm "$root"/data/tintora.chm
echo "wrote data/tintora.chm"
