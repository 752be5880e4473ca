#!/usr/bin/env bash
# Compares the sizes of the GIF files quenzar-cli writes (LZW, its default) with
# ImageMagick's files for exactly the same pictures, and prints a Markdown table: per factory design
# (default.dat, Default.dat, Templates/*.qzpl) and per export, our bytes, ImageMagick's,
# the difference and the ratio ours / ImageMagick's (below 1: our file is smaller).
#
#   bench/gif_sizes.sh                  # the installed build, build/bin
#   bench/gif_sizes.sh /path/to/bin     # another program folder (quenzar-cli and its
#                                       # data: default.dat, Default.dat, Templates)
#   SIZE=800x200 bench/gif_sizes.sh     # another size for the second export
#   KEEP=/tmp/gifs bench/gif_sizes.sh   # keep the GIF files written (ours: NAME.gif,
#                                       # ImageMagick's: NAME.im.gif)
#
# The exports, each with the default options otherwise (256 colours, optimized
# palette, no dithering, transparency):
#   fitted      no --size: the size the designer fits to the work
#   SIZE        --size 400x100 by default: about 2.5 times the fitted width and
#               height, so the code stream outgrows the 4096-entry LZW dictionary and
#               the coder has to start it afresh at least once; the fitted pictures
#               (about 150x40) never fill it
#   32 FS       --colors 32 --dither floyd-steinberg at the fitted size: a 5-bit code
#               size and the noise of dithering, where LZW finds short strings
#
# ImageMagick re-encodes our file: `convert ours.gif -strip im.gif`. Our file is
# already a palette picture of at most 256 colours, so ImageMagick writes it with the
# colour table it read (no quantisation, no dithering); the script checks that rather
# than trusting it: the decoded pixels must match (`compare -metric AE` and the raw
# RGBA bytes), and the screen descriptor with the colour table, and the transparent
# index, must be byte for byte the same; a difference is marked in the table. So the
# two files differ only in their code streams (and ImageMagick's 254-byte sub-blocks
# against our 255).
#
# Extra columns when available: our run-length coder (if quenzar-cli takes
# --gif-compression rle) and gifsicle -O3 on our file (if gifsicle is installed; it is
# not installed by this script). Needs ImageMagick (convert, compare, identify).
set -euo pipefail

REPO=$(cd "$(dirname "$0")/.." && pwd)
PROG=${1:-$REPO/build/bin}
SIZE=${SIZE:-400x100}
[ -x "$PROG/quenzar-cli" ] || { echo "gif_sizes.sh: no quenzar-cli in $PROG" >&2; exit 1; }
for tool in convert compare identify; do
  command -v $tool >/dev/null || { echo "gif_sizes.sh: needs ImageMagick ($tool)" >&2; exit 1; }
done

# A copy of the program folder: quenzar-cli may write Buttons.dat or Works beside itself.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
KEEP=${KEEP:-}
cp -a "$PROG/." "$WORK/bin/"
CLI=$WORK/bin/quenzar-cli
mkdir "$WORK/out"

HAVE_RLE=0
if "$CLI" --help 2>&1 | grep -q -- '--gif-compression' &&
   "$CLI" export "$WORK/bin/default.dat" "$WORK/out/probe.gif" --gif-compression rle >/dev/null 2>&1; then
  HAVE_RLE=1
fi
HAVE_GIFSICLE=0
command -v gifsicle >/dev/null && HAVE_GIFSICLE=1

# --- What must survive ImageMagick's re-encoding ----------------------------------
# The file's bytes in hex, two characters a byte.
hex_of() { od -An -v -tx1 "$1" | tr -d ' \n'; }

# Prints the header, screen descriptor and global colour table (as hex), then the
# transparency of the first graphic control extension ("t<index>" or "opaque"), of a
# GIF whose hex is given.
gif_meta() {
  local h=$1 packed at n label len flags
  packed=$((16#${h:20:2}))
  at=13
  ((packed & 0x80)) && at=$((13 + 3 * (2 << (packed & 7))))
  printf '%s ' "${h:0:$((2 * at))}"
  while [ $((2 * at)) -lt ${#h} ]; do
    case ${h:$((2 * at)):2} in
      21)
        label=${h:$((2 * at + 2)):2}
        at=$((at + 2))
        if [ "$label" = f9 ]; then
          flags=$((16#${h:$((2 * at + 2)):2}))
          if ((flags & 1)); then echo "t$((16#${h:$((2 * at + 8)):2}))"; else echo opaque; fi
          return
        fi
        while :; do  # skip the extension's sub-blocks
          len=$((16#${h:$((2 * at)):2}))
          at=$((at + 1 + len))
          [ $len -eq 0 ] && break
        done
        ;;
      *) echo opaque; return ;;  # an image or the trailer before any control extension
    esac
  done
  echo opaque
}

rgba_sum() { convert "$1" -depth 8 rgba:- | md5sum | cut -d' ' -f1; }

# Checks that two GIFs decode to the same pixels (fails the run if not); prints "" if
# their colour tables and transparency are the same too, or a note of what differs.
same_picture() {
  local a=$1 b=$2 ae ma mb
  ae=$(compare -metric AE "$a" "$b" null: 2>&1 || true)
  if [ "$ae" != 0 ] || [ "$(rgba_sum "$a")" != "$(rgba_sum "$b")" ]; then
    echo "gif_sizes.sh: $b does not decode to the pixels of $a (AE $ae)" >&2
    exit 1
  fi
  ma=$(gif_meta "$(hex_of "$a")")
  mb=$(gif_meta "$(hex_of "$b")")
  if [ "${ma% *}" != "${mb% *}" ]; then echo "colour table changed"
  elif [ "${ma##* }" != "${mb##* }" ]; then echo "transparency ${ma##* } → ${mb##* }"
  else echo ""; fi
}

size_of() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }

# --- The run ----------------------------------------------------------------------
designs=("$WORK/bin/default.dat" "$WORK/bin/Default.dat")
for t in "$WORK"/bin/Templates/*.qzpl; do designs+=("$t"); done
exports=(fitted "$SIZE" "32 FS")
declare -A ARGS=([fitted]="" [$SIZE]="--size $SIZE" ["32 FS"]="--colors 32 --dither floyd-steinberg")

echo "quenzar-cli $("$CLI" --version 2>&1 | head -1 | sed 's/^quenzar-cli *//') from $PROG;" \
     "$(convert -version | head -1 | cut -d' ' -f2-4)"
echo
head='| design | export | pixels | ours (bytes) | ImageMagick (bytes) | ours − IM | ours / IM |'
rule='|---|---|---|---:|---:|---:|---:|'
if [ $HAVE_RLE = 1 ]; then head+=' our run-length (bytes) |'; rule+='---:|'; fi
if [ $HAVE_GIFSICLE = 1 ]; then head+=' gifsicle -O3 (bytes) |'; rule+='---:|'; fi
echo "$head"
echo "$rule"

declare -A TOT_OURS TOT_IM TOT_RLE TOT_GS
notes=()
for d in "${designs[@]}"; do
  name=${d#"$WORK/bin/"}
  for e in "${exports[@]}"; do
    tag=$(basename "$name" | tr -c 'A-Za-z0-9\n' _)_${e// /_}
    ours=$WORK/out/$tag.gif
    im=$WORK/out/$tag.im.gif
    # shellcheck disable=SC2086  # ARGS holds several words on purpose
    "$CLI" export "$d" "$ours" ${ARGS[$e]} >/dev/null
    convert "$ours" -strip "$im"
    note=$(same_picture "$ours" "$im")
    so=$(size_of "$ours")
    si=$(size_of "$im")
    mark=""
    if [ -n "$note" ]; then notes+=("$name, $e: $note"); mark=" †"; fi
    dims=$(identify -format '%wx%h' "$ours")
    row="| $name | $e | $dims | $so | $si$mark | $((so - si)) | $(ratio "$so" "$si") |"
    TOT_OURS[$e]=$(( ${TOT_OURS[$e]:-0} + so ))
    TOT_IM[$e]=$(( ${TOT_IM[$e]:-0} + si ))
    if [ $HAVE_RLE = 1 ]; then
      rle=$WORK/out/$tag.rle.gif
      # shellcheck disable=SC2086
      "$CLI" export "$d" "$rle" ${ARGS[$e]} --gif-compression rle >/dev/null
      same_picture "$ours" "$rle" >/dev/null
      row+=" $(size_of "$rle") |"
      TOT_RLE[$e]=$(( ${TOT_RLE[$e]:-0} + $(size_of "$rle") ))
    fi
    if [ $HAVE_GIFSICLE = 1 ]; then
      gs=$WORK/out/$tag.gs.gif
      gifsicle -O3 "$ours" -o "$gs"
      convert "$ours" -depth 8 rgba:- | cmp -s - <(convert "$gs" -depth 8 rgba:-) ||
        notes+=("$name, $e: gifsicle changed the pixels")
      row+=" $(size_of "$gs") |"
      TOT_GS[$e]=$(( ${TOT_GS[$e]:-0} + $(size_of "$gs") ))
    fi
    echo "$row"
  done
done

all_ours=0 all_im=0 all_rle=0 all_gs=0
for e in "${exports[@]}"; do
  so=${TOT_OURS[$e]} si=${TOT_IM[$e]}
  row="| **total** | $e | | $so | $si | $((so - si)) | $(ratio "$so" "$si") |"
  [ $HAVE_RLE = 1 ] && row+=" ${TOT_RLE[$e]} |"
  [ $HAVE_GIFSICLE = 1 ] && row+=" ${TOT_GS[$e]} |"
  echo "$row"
  all_ours=$((all_ours + so)) all_im=$((all_im + si))
  all_rle=$((all_rle + ${TOT_RLE[$e]:-0})) all_gs=$((all_gs + ${TOT_GS[$e]:-0}))
done
row="| **total** | all | | $all_ours | $all_im | $((all_ours - all_im)) | $(ratio "$all_ours" "$all_im") |"
[ $HAVE_RLE = 1 ] && row+=" $all_rle |"
[ $HAVE_GIFSICLE = 1 ] && row+=" $all_gs |"
echo "$row"

if [ -n "$KEEP" ]; then mkdir -p "$KEEP" && cp "$WORK"/out/*.gif "$KEEP/"; fi

echo
if [ ${#notes[@]} -eq 0 ]; then
  echo "Every ImageMagick file decodes to our pixels, with our colour table and transparent index unchanged."
else
  echo "Every ImageMagick file decodes to our pixels. Marked †:"
  for n in "${notes[@]}"; do echo "- $n"; done
fi
[ $HAVE_RLE = 1 ] || echo "This quenzar-cli has no --gif-compression rle: no run-length column."
[ $HAVE_GIFSICLE = 1 ] || echo "gifsicle is not installed: no gifsicle column."
