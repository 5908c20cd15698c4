#!/usr/bin/env bash
# Speaks the voice-navigation prompts into data/ as 16-bit mono PCM WAV
# files.  Run by hand when a prompt's wording changes; the build never runs
# it.  Needs espeak-ng and sox (apt-get install espeak-ng sox).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
speak() { # file text
  espeak-ng -v en-us -s 165 -w "$tmp/raw.wav" "$2"
  # 11025 Hz mono 16-bit keeps the files small; trim the silence around.
  sox "$tmp/raw.wav" -r 11025 -c 1 -b 16 -e signed-integer "$top/data/$1" \
      silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
}
speak NavEn.wav "Voice navigation on"
speak NavDis.wav "Voice navigation off"
speak Call.wav "Call"
speak RstSnt.wav "Report sent"
speak SerNum.wav "Serial number"
speak County.wav "County"
speak SPC.wav "State, province or country"
speak Dupe.wav "Dupe"
