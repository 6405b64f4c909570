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
expect "existing files untouched" [ -f "$out/keep.mp4" ] && [ ! -s "$out/keep.mp4" ]

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
