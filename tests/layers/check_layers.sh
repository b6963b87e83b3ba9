#!/usr/bin/env bash
# The layers of the house plan, checked on the includes: platform/file, the
# floor, includes nothing of ours; model/ sees only
# platform/win; app/ sees platform/ui, platform/win and model/, never SDL, cairo
# or pango; platform/host, the bottom, includes nothing of ours above it; only
# platform/entry includes app/ and studio/, which sits beside app/, and
# nothing includes platform/entry; only platform/host includes SDL. Prints each
# offending line.
set -u
root=${1:?usage: check_layers.sh PROJECT_ROOT}
cd "$root" || exit 2
status=0

offend() {  # offend DESCRIPTION OFFENDING_LINES
  if [ -n "$2" ]; then
    printf '%s:\n%s\n' "$1" "$2"
    status=1
  fi
}

offend "app/ and model/ must not include SDL, cairo, pango or other drawing libraries" \
  "$(grep -rnE '#include\s*[<"](SDL|cairo|pango|glib|fontconfig|png)' app model)"
offend "platform/file includes nothing of ours" \
  "$(grep -rnE '#include\s*"(app|model|studio|tools|res|tests|platform/(win|ui|shell|host|entry))/' platform/file)"
offend "model/ may include only platform/win" \
  "$(grep -rnE '#include\s*"(app|platform/(ui|shell|host|file))/' model)"
offend "app/ may include only platform/ui, platform/win and model/" \
  "$(grep -rnE '#include\s*"platform/(shell|host|file)/' app)"
offend "platform/win is the bottom layer" \
  "$(grep -rnE '#include\s*"(app|model|platform/(ui|shell|host))/' platform/win)"
offend "platform/host includes nothing above it" \
  "$(grep -rnE '#include\s*"(app|model|studio|platform/(win|ui|shell|entry))/' platform/host)"
offend "platform/shell includes only platform/host and platform/win" \
  "$(grep -rnE '#include\s*"(app|model|studio|platform/(ui|entry))/' platform/shell)"
offend "platform/ui includes nothing above it" \
  "$(grep -rnE '#include\s*"(app|model|studio|platform/entry)/' platform/ui)"
offend "only platform/entry includes app/" \
  "$(grep -rnE '#include\s*"app/' model platform studio | grep -v '^platform/entry/')"
offend "nothing includes platform/entry, the top" \
  "$(grep -rnE '#include\s*"platform/entry/' app model platform studio | grep -v '^platform/entry/')"
offend "only platform/entry includes studio/" \
  "$(grep -rnE '#include\s*"studio/' app model platform/win platform/shell platform/host platform/ui)"
offend "studio/ may include only platform/ui, platform/shell, platform/win and model/" \
  "$(grep -rnE '#include\s*"(app|platform/(host|entry))/' studio)"
offend "only platform/host includes SDL" \
  "$(grep -rlE '#include\s*[<"]SDL' platform studio | grep -v '^platform/host/')"

[ $status -eq 0 ] && echo "layers clean"
exit $status
