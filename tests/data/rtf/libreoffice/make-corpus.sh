#!/usr/bin/env bash
# Writes the .rtf of every .html source here as LibreOffice Writer saves it:
# one headless run with a profile of its own, bounded in time.
#
#   tests/data/rtf/libreoffice/make-corpus.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
profile=$(mktemp -d)
out=$(mktemp -d)
trap 'rm -rf "$profile" "$out"' EXIT
timeout 300 soffice "-env:UserInstallation=file://$profile" --headless --norestore \
    --nolockcheck --convert-to 'rtf:Rich Text Format' --outdir "$out" "$here"/*.html >/dev/null
for html in "$here"/*.html; do
    name=$(basename "$html" .html)
    cp "$out/$name.rtf" "$here/$name.rtf"
done
