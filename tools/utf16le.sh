#!/bin/sh
# Converts a UTF-8 text with LF line ends into UTF-16 LE with the byte-order
# mark FF FE and CR LF line ends, with no line break after the last line.
set -eu
src=$1
dst=$2
tmp=$dst.tmp
{
  printf '\377\376'
  # Drop one trailing line break, then turn every LF into CR LF.
  awk 'NR > 1 { printf "\r\n" } { printf "%s", $0 }' "$src" | iconv -f UTF-8 -t UTF-16LE
} > "$tmp"
mv "$tmp" "$dst"
