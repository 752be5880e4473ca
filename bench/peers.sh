#!/usr/bin/env bash
# Times our image jobs side by side with the same jobs done by the tools people use
# instead (ImageMagick, libvips, Pillow), in one run on the same input files, and
# prints a Markdown table: our median, each peer's median and the ratio (peer / ours:
# above 1 means we are faster). Whole processes on both sides, PPM in and out (GIF
# out for the colour reductions), one thread each unless the row says otherwise.
#
# Our job and its peers run in turn, round after round (bench/alternate.py), so a
# burst of load on the machine weighs on both sides alike; each round gives one ratio
# (the peer's run over ours in that round), and the table shows their median with the
# smallest and largest beside it, so one run's load does not decide a row.
#
#   bench/peers.sh                 # RUNS=15 rounds per job by default
#   RUNS=30 BUILD=build bench/peers.sh > table.md
#
# The peers are installed here, not by setup.sh: they are not dependencies of the
# program. Our side is bench/qz_imagejob (built by CMake) and quenzar-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-15}
BUILD=${BUILD:-build}
PILLOW=${PILLOW:-1}  # PILLOW=0 leaves Pillow's rows out (its start-up is most of its time)
ALTERNATE=$PWD/bench/alternate.py
PYTHON=/usr/bin/python3  # Debian's, which has python3-pil

# --- Peers and our programs -------------------------------------------------------
need=()
command -v convert >/dev/null || need+=(imagemagick)
command -v vips >/dev/null || need+=(libvips-tools)
[ -x "$PYTHON" ] && "$PYTHON" -c 'import PIL' 2>/dev/null || need+=(python3-pil)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq >&2
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >&2
fi

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DQUENZAR_GUI=OFF >&2
fi
cmake --build "$BUILD" -j2 --target qz_imagejob quenzar-cli >&2
JOB=$PWD/$BUILD/bench/qz_imagejob
# ImageMagick's own program, not a script standing in for it earlier in PATH (its
# shell would be timed with it).
CONVERT=$(readlink -f "$(command -v convert-im6.q16 || command -v convert)")
CLI=$PWD/$BUILD/bin/quenzar-cli

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# --- Inputs: the benchmarks' pictures as files ------------------------------------
"$JOB" picture rings 160 40 small.ppm
"$JOB" picture rings 2000 1500 large.ppm
"$JOB" picture photo 800 600 photo.ppm
printf '[General]\r\nVersion=1.3.5\r\n[Message]\r\nNLetters=1\r\nAltitude=10\r\n[Button]\r\nType=2\r\nAltitude=30\r\n[Letter 1]\r\nChar=C\r\nName=Arial\r\nSize=18\r\nCharset=0\r\n' >button.qznr

# --- Timing -----------------------------------------------------------------------
# One group: our command, then each peer's, as "label" and the command's words, the
# groups' commands separated by "--". Prints a table row per peer.
group() {  # job, our label, our command..., then: -- label command... for each peer
  local job=$1 oursLabel=$2
  shift 2
  local labels=() words=() current=()
  while [ $# -gt 0 ]; do
    if [ "$1" = -- ]; then
      words+=("${current[@]}" --)
      current=()
      shift
      labels+=("$1")
    else
      current+=("$1")
    fi
    shift
  done
  words+=("${current[@]}")
  "$PYTHON" "$ALTERNATE" "$RUNS" "${words[@]}" >t.json
  "$PYTHON" - "$job" "$oursLabel" "${labels[@]}" <<'PY'
import json, sys
job, ours_label, labels = sys.argv[1], sys.argv[2], sys.argv[3:]
lines = [json.loads(l) for l in open("t.json")]
ours = lines[0]
for label, peer in zip(labels, lines[1:]):
    print("| %s | %s | %.1f | %.0f | %s | %.1f | %.2f | %.2f | %.2f |" % (
        job, ours_label, ours["median_ms"], ours["rss_kB"] / 1024, label, peer["median_ms"],
        peer["ratio_median"], peer["ratio_min"], peer["ratio_max"]))
PY
}

PIL_RESIZE='from PIL import Image; import sys; Image.open(sys.argv[1]).resize((int(sys.argv[3]), int(sys.argv[4])), getattr(Image.Resampling, sys.argv[5])).save(sys.argv[2])'

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
echo "Peers: $("$CONVERT" -version | head -1 | cut -d' ' -f2-4), $(vips --version), Pillow $("$PYTHON" -c 'import PIL; print(PIL.__version__)'); $RUNS rounds, ours and the peers in turn"
echo
echo '| job | our filter | ours (ms) | our peak RSS (MB) | peer and its filter | peer (ms) | peer / ours, median | min | max |'
echo '|---|---|---:|---:|---|---:|---:|---:|---:|'

# Our filters and their like in each peer ("-": the peer has none). ImageMagick has
# every one: its Quadratic is our Bell and its Spline our B-Spline. libvips has no
# Hermite, Bell or B-Spline; its "cubic" is Catmull-Rom, listed against B-Spline as the
# same amount of work (4 taps), not the same weights. Pillow's BOX, BILINEAR and
# LANCZOS are ours; its HAMMING (1 tap each side) and BICUBIC (Catmull-Rom) stand
# against Hermite and Mitchell as the same amount of work.
filters=(Box Triangle Hermite Bell B-Spline Lanczos3 Mitchell)
declare -A IM=([Box]=Box [Triangle]=Triangle [Hermite]=Hermite [Bell]=Quadratic [B-Spline]=Spline
               [Lanczos3]=Lanczos [Mitchell]=Mitchell)
declare -A VIPS=([Box]=nearest [Triangle]=linear [Hermite]=- [Bell]=- [B-Spline]=cubic [Lanczos3]=lanczos3
                 [Mitchell]=mitchell)
declare -A PIL=([Box]=BOX [Triangle]=BILINEAR [Hermite]=HAMMING [Bell]=- [B-Spline]=- [Lanczos3]=LANCZOS
                [Mitchell]=BICUBIC)
declare -A LIKE=([B-Spline:cubic]='≈' [Hermite:HAMMING]='≈' [Mitchell:BICUBIC]='≈')

for size in up down; do
  if [ $size = up ]; then in=small.ppm; w=800; h=200; scale=5; job="resize 160x40 → 800x200"
  else in=large.ppm; w=400; h=300; scale=0.2; job="resize 2000x1500 → 400x300"; fi
  for f in "${filters[@]}"; do
    peers=(-- "ImageMagick ${IM[$f]}, 1 thread" "$CONVERT" -limit thread 1 $in -filter "${IM[$f]}" -resize "${w}x$h!" im.ppm
           -- "ImageMagick ${IM[$f]}, default threads" "$CONVERT" $in -filter "${IM[$f]}" -resize "${w}x$h!" im.ppm)
    v=${VIPS[$f]}
    # libvips' nearest picks pixels when it shrinks instead of averaging them: like
    # our Box only when enlarging.
    if [ "$v" != - ] && ! [ "$v" = nearest -a $size = down ]; then
      peers+=(-- "libvips $v${LIKE[$f:$v]:-}" VIPS_CONCURRENCY=1 vips resize $in vips.ppm $scale --kernel "$v")
      # By default libvips shrinks by a whole factor with a box average first and runs
      # the kernel over what is left; --gap 0 runs the kernel over everything, as we do.
      if [ $size = down ]; then
        peers+=(-- "libvips $v${LIKE[$f:$v]:-}, --gap 0" VIPS_CONCURRENCY=1 vips resize $in vips.ppm $scale --kernel "$v" --gap 0)
      fi
    fi
    p=${PIL[$f]}
    if [ "$p" != - ] && [ "$PILLOW" = 1 ]; then
      peers+=(-- "Pillow $p${LIKE[$f:$p]:-}" "$PYTHON" -c "$PIL_RESIZE" $in pil.ppm $w $h "$p")
    fi
    group "$job" "$f" "$JOB" resize $in ours.ppm ${w}x$h "$f" "${peers[@]}"
  done
done

# Colour reduction of an 800x600 24-bit picture to 256 colours and a GIF file.
PIL_QUANT='from PIL import Image; import sys; Image.open(sys.argv[1]).quantize(256, dither=Image.Dither.NONE).save(sys.argv[2])'
PIL_QUANT_FS='from PIL import Image; import sys; im = Image.open(sys.argv[1]); im.quantize(palette=im.quantize(256), dither=Image.Dither.FLOYDSTEINBERG).save(sys.argv[2])'
PIL_WEB='from PIL import Image; import sys; Image.open(sys.argv[1]).convert("P", palette=Image.Palette.WEB, dither=Image.Dither.NONE).save(sys.argv[2])'

job="GIF 800x600, 256 colours"
pil=()
[ "$PILLOW" = 1 ] && pil=(-- "Pillow quantize(256), no dither" "$PYTHON" -c "$PIL_QUANT" photo.ppm pil.gif)
group "$job" "optimized, no dither" "$JOB" gif photo.ppm ours.gif none optimized \
  -- "ImageMagick -colors 256 +dither, 1 thread" "$CONVERT" -limit thread 1 photo.ppm +dither -colors 256 im.gif \
  -- "ImageMagick -colors 256 +dither, default threads" "$CONVERT" photo.ppm +dither -colors 256 im.gif "${pil[@]}"
[ "$PILLOW" = 1 ] && pil=(-- "Pillow quantize(256), then Floyd-Steinberg" "$PYTHON" -c "$PIL_QUANT_FS" photo.ppm pil.gif)
group "$job" "optimized, Floyd-Steinberg" "$JOB" gif photo.ppm ours.gif floyd-steinberg optimized \
  -- "ImageMagick -colors 256 -dither FloydSteinberg, 1 thread" "$CONVERT" -limit thread 1 photo.ppm -dither FloydSteinberg -colors 256 im.gif \
  -- "ImageMagick -colors 256 -dither FloydSteinberg, default threads" "$CONVERT" photo.ppm -dither FloydSteinberg -colors 256 im.gif "${pil[@]}"
[ "$PILLOW" = 1 ] && pil=(-- "Pillow convert(P, WEB), no dither" "$PYTHON" -c "$PIL_WEB" photo.ppm pil.gif)
group "GIF 800x600, 216 web colours" "Netscape, no dither" "$JOB" gif photo.ppm ours.gif none netscape \
  -- "ImageMagick +dither -remap netscape:, 1 thread" "$CONVERT" -limit thread 1 photo.ppm +dither -remap netscape: im.gif "${pil[@]}"

# The whole export of a button as a user runs it (no peer does this job: our time and
# peak resident size alone, the two exports in turn).
"$PYTHON" "$ALTERNATE" "$RUNS" "$CLI" export button.qznr out.gif --size 400x100 --text "Click Here" \
  -- "$CLI" export button.qznr out.jpg --size 400x100 --text "Click Here" >t.json
"$PYTHON" - <<'PY'
import json
for out, line in zip(("gif", "jpg"), (json.loads(l) for l in open("t.json"))):
    print('| quenzar-cli export 400x100 .%s ("Click Here", rounded button) | default options | %.1f | %.0f | - | - | - | - | - |'
          % (out, line["median_ms"], line["rss_kB"] / 1024))
PY
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
