#!/usr/bin/env bash
# Checks that each folder includes only the layers below it, so the structure the folders show is
# the structure the code has. Prints every offending include and fails if there is one.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0

# forbid FOLDER REGEX WHY: no file under FOLDER may have an #include line matching REGEX.
forbid() {
  local hits
  hits=$(grep -rn -E "^#include [<\"]($2)" "$1" --include='*.h' --include='*.cpp')
  if [ -n "$hits" ]; then
    echo "$1 must not include $3:"
    echo "$hits"
    status=1
  fi
}

app_folders='toolkit|panels|viewer|console|commands|window|jobscreen|findscreen|connectscreen|attributescreen|renamescreen|syncscreen|comparescreen'
forbid KivCore "Q|($app_folders)/" "Qt or the application (the core knows nothing of the screen)"
forbid KivApp/toolkit "(panels|viewer|console|commands|window|jobscreen|findscreen|connectscreen|attributescreen|renamescreen|syncscreen|comparescreen)/" "the program's own parts (the toolkit is generic)"
for folder in panels viewer console jobscreen findscreen connectscreen attributescreen renamescreen syncscreen comparescreen; do
  forbid "KivApp/$folder" "(commands|window)/" "the commands or the window (they sit above it)"
done
forbid KivApp/commands "window/" "the window (the window binds the commands, never the other way)"
# The widgets reach the disk only through the core's doors and jobs, never on the window's thread.
forbid KivApp "files/(DiskItem|ExistingFolder|WholeFile|AtomicFile|FilePreviewReader)\\.h|archives/ArchiveMemberCopy\\.h|(sys/stat|fcntl|dirent|unistd)\\.h|filesystem>" \
  "the core's disk helpers or the system's file calls (the disk is reached through doors and jobs)"

# The core's folders, lowest first; a folder may include those before it, never one after it.
# Folders on one line sit side by side and include neither each other.
core_order=(base text jobs doors files "archives trash rename remote compare" history "attributes sync quickview" panel search "settings shell terminal")
for ((i = 0; i < ${#core_order[@]}; i++)); do
  above=()
  for ((j = i + 1; j < ${#core_order[@]}; j++)); do above+=(${core_order[j]}); done
  for folder in ${core_order[i]}; do
    beside=()
    for other in ${core_order[i]}; do [ "$other" != "$folder" ] && beside+=("$other"); done
    later=("${above[@]}" "${beside[@]}")
    [ ${#later[@]} -gt 0 ] && forbid "KivCore/$folder" "($(IFS='|'; echo "${later[*]}"))/" \
      "a core folder above or beside it (the core's folders depend one way)"
  done
done
exit $status
