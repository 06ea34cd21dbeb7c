#!/usr/bin/env bash
# Checks the include graph of src/ against the layers of docs/ARCHITECTURE.md:
#
#   app > frontend > game > {fx, ships, enemies} > {essentials, persist} > platform
#
# A file may include headers of its own folder and of any lower layer. Only
# src/platform includes the platform libraries (SDL, GL, OpenAL, FreeType,
# image and audio decoders, X11, sockets), and only src/persist includes
# SQLite. Game code reaches the platform through its public headers, never a
# backend's. Each layer's library links exactly the layers its sources
# include: the link lists are read from the ovelune_layer calls of
# CMakeLists.txt. Every breach is printed as file:line and the script fails.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=${1:-src}

declare -A rank=([platform]=0 [essentials]=1 [persist]=1 [fx]=2 [ships]=2 [enemies]=2
                 [game]=3 [frontend]=4 [app]=5)

# Allowed includes between folders of one layer, and of backend headers, as
# "from-folder include-path-prefix   reason".
allowed=(
  "ships fx/                      ships leave particles, explosions and streak points"
  "enemies fx/                    enemies make explosions, blood and bubbles"
  "enemies ships/playerbase.hpp   enemies aim at the ship and test their hits on it"
  "enemies ships/tailpoint.hpp    the eel's body is a chain of tail points"
  "enemies ships/tstreak.hpp      enemy bullets leave the same streak trail as the ship's shots"
  "persist essentials/settings.hpp the settings row is stored and loaded by persist"
  "app platform/sdl/sdl_backends.hpp the program's entry point chooses the real backends"
)

# The platform's public interface; everything else under src/platform belongs
# to the backends.
public_platform='^platform/(platform|draw_state|image|font|sound|keycodes|input_tape|net/tcp_client)\.hpp$'
library_headers='^(SDL|SDL2/|GL/|epoxy/|AL/|ft2build|freetype|png\.h|jpeglib|jerror|zlib|vorbis/|ogg/|X11/|sys/socket|netdb|netinet/|arpa/inet|poll\.h)'
sqlite_headers='^(sqlite3\.h|SQLiteCpp/)'

# The layers each layer's library links: ovelune_layer(ovelune_NAME FOLDER
# ovelune_LAYER...) in CMakeLists.txt, calls that may span lines.
declare -A links=() used=()
while read -r _ folder deps; do
  for dep in $deps; do
    dep=${dep#ovelune_}
    [[ -n ${rank[$dep]+x} ]] && links[$folder]+=" $dep"
  done
  links[$folder]+=" "
done < <(sed 's/#.*//' CMakeLists.txt | tr '\n' ' ' | grep -oE 'ovelune_layer\([^)]*\)' | sed -E 's/^ovelune_layer\(|\)$//g')

failures=0
fail() {
  printf '%s: %s\n' "$1" "$2"
  failures=$((failures + 1))
}

is_allowed() {
  local from=$1 path=$2 entry prefix
  for entry in "${allowed[@]}"; do
    read -r dir prefix _ <<<"$entry"
    [[ $dir == "$from" && $path == "$prefix"* ]] && return 0
  done
  return 1
}

while IFS= read -r file; do
  rel=${file#"$root"/}
  from=${rel%%/*}
  [[ -n ${rank[$from]+x} ]] || continue
  while IFS=: read -r line text; do
    if [[ $text =~ \#include[[:space:]]*\<([^>]+)\> ]]; then
      header=${BASH_REMATCH[1]}
      if [[ $from != platform && $header =~ $library_headers ]]; then
        fail "$file:$line" "platform library header <$header> outside src/platform"
      elif [[ $from != persist && $header =~ $sqlite_headers ]]; then
        fail "$file:$line" "database library header <$header> outside src/persist"
      fi
    elif [[ $text =~ \#include[[:space:]]*\"([a-z_]+)/([^\"]+)\" ]]; then
      to=${BASH_REMATCH[1]}
      path="$to/${BASH_REMATCH[2]}"
      [[ -n ${rank[$to]+x} && $to != "$from" ]] || continue
      used[$from]+=" $to "
      if is_allowed "$from" "$path"; then
        :
      elif [[ $to == platform && ! $path =~ $public_platform ]]; then
        fail "$file:$line" "\"$path\" is a backend header; use the platform API"
        continue
      elif ((rank[$to] > rank[$from])); then
        fail "$file:$line" "\"$path\" points up the layers ($from may not use $to)"
        continue
      elif ((rank[$to] == rank[$from])); then
        fail "$file:$line" "\"$path\" is a sideways use ($from and $to are one layer) that is not listed"
        continue
      fi
      [[ ${links[$from]:-} == *" $to "* ]] ||
        fail "$file:$line" "\"$path\": ovelune_$from does not link ovelune_$to (CMakeLists.txt)"
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find "$root" -type f \( -name '*.cpp' -o -name '*.hpp' \) | sort)

for folder in "${!rank[@]}"; do
  if [[ -z ${links[$folder]+x} ]]; then
    fail CMakeLists.txt "no ovelune_layer call builds src/$folder"
    continue
  fi
  for dep in ${links[$folder]}; do
    [[ ${used[$folder]:-} == *" $dep "* ]] ||
      fail CMakeLists.txt "ovelune_$folder links ovelune_$dep, which none of its sources include"
  done
done

if ((failures > 0)); then
  echo "check-layers: $failures include(s) or link(s) break the layers"
  exit 1
fi
echo "check-layers: the includes of $root follow the layers and the links of CMakeLists.txt"
