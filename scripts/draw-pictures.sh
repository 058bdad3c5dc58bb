#!/usr/bin/env bash
# Draws every picture of the program from its SVG source in resources/pictures/src into resources/pictures.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert. Run it after changing a source and commit the results.
set -euo pipefail
cd "$(dirname "$0")/../resources/pictures"

convert=${IMAGEMAGICK_CONVERT:-/usr/bin/convert}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Renders src/NAME.svg at WIDTH x HEIGHT into the work folder as an RGBA PNG.
render() {
    rsvg-convert --width "$2" --height "$3" --keep-aspect-ratio "src/$1.svg" --output "$work/$1-$2.png"
}

# Strips the timestamps and comments ImageMagick would add, so that an unchanged source gives identical bytes.
stable=(-strip -define png:exclude-chunks=date,time)

# A PNG keeps its soft alpha edges: these sit on the grey window face.
png() {
    render "$1" "$2" "$3"
    "$convert" "$work/$1-$2.png" "${stable[@]}" "PNG32:$1.png"
}

# A picture that sits on a white band or fills its place: flattened onto white, at most 256 colours.
gif_on_white() {
    render "$1" "$2" "$3"
    "$convert" "$work/$1-$2.png" -background white -alpha remove -alpha off -colors 256 "${stable[@]}" "$1.gif"
}

# A small mark on the window face: one transparent colour, edges cut at half coverage.
gif_transparent() {
    render "$1" "$2" "$3"
    "$convert" "$work/$1-$2.png" -channel A -threshold 50% +channel -colors 255 "${stable[@]}" "$1.gif"
}

gif_on_white logo 48 48
gif_transparent maker 20 16
gif_on_white donate 62 31
png searchfix 16 16
png restore 16 16
png icon-main 32 32
png icon-dialog 16 16

render banner 99 200
"$convert" "$work/banner-99.png" -background white -alpha remove -alpha off -quality 92 "${stable[@]}" banner.jpg

# The Windows build's copies of the GIF and JPEG pictures: the same pixels as PNG, so that its Qt needs neither reader.
mkdir -p windows
for picture in logo.gif donate.gif banner.jpg; do
    "$convert" "$picture" "${stable[@]}" "PNG24:windows/${picture%.*}.png"
done
"$convert" maker.gif "${stable[@]}" PNG32:windows/maker.png

# The Windows executable's icon: the dialog drawing at 16, the main drawing at 32, the logo at 48.
render icon-dialog 16 16
render icon-main 32 32
render logo 48 48
"$convert" "$work/icon-dialog-16.png" "$work/icon-main-32.png" "$work/logo-48.png" "${stable[@]}" ievantrel.ico
