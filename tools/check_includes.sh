#!/usr/bin/env bash
# Lists every #include in src/ that runs against the order of the folders and fails
# when there is one. Each folder may include itself and the folders before it:
#
#   base -> text, image -> palette -> scene -> render -> geometry -> export -> session -> app, cli
#
# text and image are siblings (neither includes the other), and so are app and cli.
# All targets share the src/ include root, so this check is what keeps the order.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A allowed=(
  [base]="base"
  [text]="base text"
  [image]="base image"
  [palette]="base image palette"
  [scene]="base text image scene"
  [render]="base text image scene render"
  [geometry]="base text image palette scene render geometry"
  [export]="base text image palette scene render geometry export"
  [session]="base text image palette scene render geometry export session"
  [app]="base text image palette scene render geometry export session app"
  [cli]="base text image palette scene render geometry export session cli"
)

bad=0
for folder in */; do
  folder=${folder%/}
  if [ -z "${allowed[$folder]+x}" ]; then
    echo "src/$folder/: a folder the include order does not name"
    bad=1
    continue
  fi
  while IFS=: read -r file line text; do
    target=$(sed -E 's|.*#include "([^/"]+)/.*|\1|' <<<"$text")
    if ! grep -qw "$target" <<<"${allowed[$folder]}"; then
      echo "src/$file:$line: $folder/ includes $target/: $text"
      bad=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' -r "$folder" || true)
done
if [ "$bad" -ne 0 ]; then
  echo "check_includes: includes against the folder order (see tools/check_includes.sh)" >&2
  exit 1
fi
