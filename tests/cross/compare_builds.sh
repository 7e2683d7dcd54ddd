#!/usr/bin/env bash
# Checks that the Windows build evaluates exactly as the host build: runs both
# on every end-to-end case folder, and on the bundled example with many runs,
# and compares exit status, standard output and report. The Windows output
# must end every line with CR LF and be otherwise byte for byte the host's;
# only the figures of the CPU-time line may differ.
#
# Usage: compare_builds.sh HOST_SKEDOMAT WINE WINDOWS_SKEDOMAT DATA_DIRECTORY
#                          EXAMPLE_DIRECTORY SCRATCH_DIRECTORY
set -u

host_skedomat=$1
wine=$2
windows_skedomat=$3
data_directory=$4
example_directory=$5
scratch_directory=$6

default_arguments="eval input.txt submission.txt report.txt"
compared=0
failed=0

# Fails when the file has an LF that no CR precedes.
has_crlf_line_ends() {
  perl -0777 -ne 'exit(/(?<!\r)\n/ ? 1 : 0)' "$1"
}

# Writes file $1 to $3 with the CPU-time figures masked and, when $2 is
# not empty, CR LF taken as LF.
normalise_to() {
  CRLF=$2 perl -0777 -pe '
    s/\r\n/\n/g if $ENV{CRLF};
    s/^(\xC8as izvajanja: )[0-9]+\.[0-9]{3} s \([0-9]+\.[0-9]{3} s na simulacijo\)$/${1}T/mg;
  ' "$1" > "$3"
}

# Runs one build in a fresh copy of the case folder; leaves `status` there.
run_build() {
  local work=$1 case_directory=$2
  shift 2
  rm -rf "$work"
  mkdir -p "$work"
  cp -R "$case_directory"/. "$work"
  (cd "$work" && "$@" > .stdout 2> .stderr; echo $? > .status)
}

# Compares one output file of the two runs; `what` names it in messages. A
# file that both runs left as `original` had it passes as it is.
compare_output() {
  local what=$1 host_file=$2 windows_file=$3 original=${4:-}
  if [ -n "$original" ] && [ -e "$original" ] && cmp -s "$original" "$host_file" &&
     cmp -s "$original" "$windows_file"; then
    return 0
  fi
  if [ -e "$host_file" ] && [ ! -e "$windows_file" ]; then
    echo "  $what: written by the host build only"; return 1
  fi
  if [ ! -e "$host_file" ] && [ -e "$windows_file" ]; then
    echo "  $what: written by the Windows build only"; return 1
  fi
  [ -e "$host_file" ] || return 0
  if ! has_crlf_line_ends "$windows_file"; then
    echo "  $what: the Windows build ends a line with a bare LF"; return 1
  fi
  normalise_to "$host_file" "" "$host_file.normalised"
  normalise_to "$windows_file" 1 "$windows_file.normalised"
  if ! cmp -s "$host_file.normalised" "$windows_file.normalised"; then
    echo "  $what differs:"
    diff -a "$host_file.normalised" "$windows_file.normalised" | head -20
    return 1
  fi
}

# Runs both builds with `arguments` on the inputs of `case_directory`.
compare_case() {
  local name=$1 case_directory=$2
  shift 2
  local host_work="$scratch_directory/host/$name"
  local windows_work="$scratch_directory/windows/$name"
  run_build "$host_work" "$case_directory" "$host_skedomat" "$@"
  run_build "$windows_work" "$case_directory" "$wine" "$windows_skedomat" "$@"
  local ok=1
  local host_status windows_status
  host_status=$(cat "$host_work/.status")
  windows_status=$(cat "$windows_work/.status")
  if [ "$host_status" != "$windows_status" ]; then
    echo "  exit status: host $host_status, Windows $windows_status"
    ok=0
  fi
  compare_output "standard output" "$host_work/.stdout" "$windows_work/.stdout" || ok=0
  if [ $# -ge 4 ]; then
    compare_output "report $4" "$host_work/$4" "$windows_work/$4" "$case_directory/$4" ||
      ok=0
  fi
  compared=$((compared + 1))
  if [ $ok = 1 ]; then
    echo "same: $name"
  else
    echo "DIFFERENT: $name"
    failed=$((failed + 1))
  fi
}

while IFS= read -r case_directory; do
  name=${case_directory#"$data_directory"/}
  arguments=$default_arguments
  [ -e "$case_directory/args" ] && arguments=$(cat "$case_directory/args")
  # The arguments are separated by blanks; double quotes keep blanks inside one.
  eval "compare_case \"\$name\" \"\$case_directory\" $arguments"
done < <(find "$data_directory" -mindepth 1 -type d | LC_ALL=C sort |
         while IFS= read -r d; do
           [ -n "$(find "$d" -maxdepth 1 -type f -print -quit)" ] && echo "$d"
         done)

compare_case "example_500_runs" "$example_directory" \
  eval input.txt submission.txt report.txt 500

echo "$((compared - failed)) passed, $failed failed"
[ $failed = 0 ]
