#!/bin/sh
# Writes BmpSamples.inc from the bitmaps here: each sample beside the
# 24-bit file ImageMagick decoded it to ("NAME-ref.bmp", made with
# `convert NAME.bmp -type truecolor BMP3:NAME-ref.bmp`).
cd "$(dirname "$0")" || exit 1
{
  echo "// Made by make-samples.sh from the bitmaps in this folder."
  for f in p1 p4 p8 rle8 b565 b555 b16 b32 os2; do
    for v in "$f" "$f-ref"; do
      name=$(echo "$v" | tr -- '-' '_')
      printf 'const unsigned char k_%s[] = {' "$name"
      od -An -v -tu1 "$v.bmp" | tr -s ' \n' ',' | sed 's/^,//; s/,$//'
      echo '};'
    done
  done
} > BmpSamples.inc
