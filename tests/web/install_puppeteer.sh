#!/bin/sh
# Installs puppeteer-core into the build tree for the browser test, once; the browser itself is
# Debian's chromium, so none is downloaded. Exits 77 (skipped) when npm is missing or the package
# cannot be had (no network).
prefix="$1"
[ -f "$prefix/node_modules/puppeteer-core/package.json" ] && exit 0
command -v npm >/dev/null || { echo "npm not found: the browser test is skipped"; exit 77; }
mkdir -p "$prefix"
PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$prefix" --no-audit --no-fund --loglevel=error \
  puppeteer-core@24 || { echo "npm install puppeteer-core failed: the browser test is skipped"; exit 77; }
