#!/bin/bash
# Regenerates the bundled sample pictures (they are committed; this records
# how they were made). Needs ImageMagick's convert.
set -eu
cd "$(dirname "$0")/../samples"
rm -f ./*
convert -size 96x64 gradient:'#3060c0'-'#f0d040' -fill '#c02020' -draw 'circle 48,32 48,12' \
    -depth 8 /tmp/lorvex-sample-base.png
b=/tmp/lorvex-sample-base.png
convert $b -type TrueColor -compress None BMP3:img2.bmp                       # 24 bit
convert $b -colors 256 -type Palette -compress None BMP3:img10.bmp            # 8 bit
convert $b -colors 16 -type Palette -compress None BMP3:img01-4bit.bmp        # 4 bit
convert $b -monochrome -compress None BMP3:mono-1bit.bmp                      # 1 bit
convert $b -quality 85 'фото.jpg'
convert $b -depth 8 'PNG24:写真.png'
convert $b 'anim🎞.gif'
convert $b -depth 8 -compress lzw scan3.tiff
convert $b -depth 8 plain.ppm
rm -f $b
