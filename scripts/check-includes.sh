#!/usr/bin/env bash
# Checks that every folder of the program includes only from itself and from the folders its
# target links, directly or through others, as CMakeLists.txt declares them (the DEPS of
# lb_library, the libraries of target_link_libraries): an include that points up the link
# order is listed with its file and line, and fails the check. The folder to check is the
# argument, else the source tree this script is in.
set -euo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"

# One line per folder: the target that owns it, the folder, the lb_ targets it links. A
# library owns its folder; a program owns the folder of its source unless a library does, so
# that a program's source inside a library's folder is held to that library's links.
graph="$(awk '
  { gsub(/[()]/, " ") }
  $1 == "lb_library" {
    folder[$2] = $3; library[$3] = 1
    for (i = 4; i <= NF; i++) if ($i ~ /^lb_/) deps[$2] = deps[$2] " " $i
  }
  $1 == "add_executable" { f = $3; sub(/\/[^\/]*$/, "", f); folder[$2] = f; program[$2] = 1 }
  $1 == "target_link_libraries" {
    for (i = 3; i <= NF; i++) if ($i ~ /^lb_/) deps[$2] = deps[$2] " " $i
  }
  END { for (t in folder) if (!(t in program && folder[t] in library)) print t, folder[t], deps[t] }
' "$root/CMakeLists.txt")"

declare -A targetOf direct
while read -r target folder links; do
  targetOf[$folder]=$target
  direct[$target]="$links"
done <<< "$graph"

# Everything a target links, directly or through others.
reachable() {
  local -A seen=()
  local todo=("$1") t d
  while [ ${#todo[@]} -gt 0 ]; do
    t="${todo[-1]}"
    unset 'todo[-1]'
    for d in ${direct[$t]:-}; do
      [ -n "${seen[$d]:-}" ] && continue
      seen[$d]=1
      todo+=("$d")
    done
  done
  echo "${!seen[@]}"
}

status=0
for folder in "${!targetOf[@]}"; do
  target="${targetOf[$folder]}"
  allowed=" $target $(reachable "$target") "
  for file in "$root/$folder"/*.cpp "$root/$folder"/*.h; do
    [ -e "$file" ] || continue
    # Only includes of our own folders name a path; a bare name is the includer's neighbour.
    while IFS=: read -r line included; do
      dir="${included%/*}"
      owner="${targetOf[$dir]:-}"
      if [ -z "$owner" ]; then
        echo "${file#"$root"/}:$line: includes $included, from no folder of the link graph"
        status=1
      elif [[ "$allowed" != *" $owner "* ]]; then
        echo "${file#"$root"/}:$line: includes $included ($owner), which $target does not link"
        status=1
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "$file" |
             sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
  done
done
[ $status -eq 0 ] && echo "every include points down the link order"
exit $status
