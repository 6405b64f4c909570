#!/usr/bin/env bash
# The batch program end to end: exit codes, outputs checked with ffprobe.
set -u
cli=$1
clips=${VARNEL_CLIPS_DIR:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0
check() { # check <description> <expected exit> <command...>
  local what=$1 want=$2; shift 2
  checks=$((checks + 1))
  "$@" > "$work/stdout" 2> "$work/stderr"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, expected $want"; cat "$work/stderr"; failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}
expect() { # expect <description> <condition...>
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

check "no arguments is a usage error" 2 "$cli"
check "unknown option is a usage error" 2 "$cli" --fast "$clips/flv1_mp3.flv"
check "unknown format is a usage error" 2 "$cli" --format 150 "$clips/flv1_mp3.flv"
check "bad crop is a usage error" 2 "$cli" --crop 1,2,3 "$clips/flv1_mp3.flv"
check "list formats" 0 "$cli" --list-formats
expect "nineteen formats listed" [ "$(wc -l < "$work/stdout")" = 19 ]
expect "codes and names" grep -qx $'103\tH.264/MPEG-4 AVC Video (\*.mp4)' "$work/stdout"
check "probe" 0 "$cli" --probe "$clips/flv1_mp3.flv"
expect "probe report names the streams" grep -q "Stream #0.1: Video: flv1" "$work/stdout"
check "probe of a text file fails" 1 "$cli" --probe "$clips/text.flv"

out="$work/out"
check "convert two files" 0 "$cli" --config-dir "$work/cfg" --output-dir "$out" --format 103 \
  --trim-start 0.5 --trim-length 2 --crop 20,40,20,40 "$clips/flv1_mp3.flv" "$clips/h264_aac.flv"
expect "one line per file" [ "$(wc -l < "$work/stdout")" = 2 ]
first="$out/flv1_mp3_(new).mp4"
expect "destination printed" grep -qF -- "-> $first" "$work/stdout"
expect "output is H.264 in MP4" [ "$(ffprobe -v error -select_streams v -show_entries stream=codec_name -of csv=p=0 "$first")" = h264 ]
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$first")
expect "trimmed to 2 s (got $duration)" awk -v d="$duration" 'BEGIN { exit !(d > 1.9 && d < 2.1) }'
expect "profile stored in the config folder" grep -q '^paraVideoEncoder=libx264' "$work/cfg/varnelconverter.ini"

touch "$out/keep.mp4"
check "a missing file fails, the other converts" 1 "$cli" --config-dir "$work/cfg" --output-dir "$out" \
  --format 200 "$work/missing.flv" "$clips/audio_only.flv"
expect "the good file converted" [ -s "$out/audio_only_(new).mp3" ]
expect "existing files untouched" bash -c '[ -f "$1" ] && [ ! -s "$1" ]' _ "$out/keep.mp4"

# Edits: effects and a watermark box drawn into the output, bad files refused.
between() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v != "" && v >= lo && v <= hi) }'; }
mean() { # mean <file> <seconds> <crop w:h:x:y>: mean grey of an area of one picture
  ffmpeg -v error -nostdin -ss "$2" -i "$1" -frames:v 1 -vf "crop=$3,scale=1:1" -f rawvideo -pix_fmt gray - | od -An -tu1 | tr -d ' '
}
cat > "$work/edits.ini" <<'INI'
[file]
Contrast=-100
[watermark0]
Kind=0
Text=
TextLeft=200
TextTop=150
TextWidth=100
TextHeight=80
TextAlpha=255
BackOpaque=1
BackColor=16777215
StartTime=0
EndTime=1
INI
# A blank text draws nothing; a space on an opaque box draws the box.
sed -i 's/^Text=$/Text= x/' "$work/edits.ini"
check "convert with edits" 0 "$cli" --config-dir "$work/cfg" --output-dir "$work/edited" --format 103 \
  --edits "$work/edits.ini" "$clips/flv1_mp3.flv"
edited="$work/edited/flv1_mp3_(new).mp4"
grey=$(mean "$edited" 2.5 100:100:50:50)
expect "contrast -100 turns the picture to grey 170 (got $grey)" between "$grey" 165 175
box=$(mean "$edited" 0.5 60:40:440:310)
# Item places are source pixels; the 320x240 source is scaled to 640x480.
expect "the box shows in its seconds (got $box)" between "$box" 240 255
after=$(mean "$edited" 2.5 60:40:440:310)
expect "and not after them (got $after)" between "$after" 165 175

sed 's/^TextAlpha=255$/TextAlpha=256/' "$work/edits.ini" > "$work/bad.ini"
check "an out-of-range value is refused" 2 "$cli" --config-dir "$work/cfg" --output-dir "$work/bad" \
  --edits "$work/bad.ini" "$clips/flv1_mp3.flv"
expect "the message names the section and key" grep -qF "[watermark0] TextAlpha" "$work/stderr"
expect "nothing converted" test -z "$(ls -A "$work/bad" 2>/dev/null)"
check "a missing edits file is refused" 2 "$cli" --config-dir "$work/cfg" --output-dir "$work/bad" \
  --edits "$work/none.ini" "$clips/flv1_mp3.flv"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
