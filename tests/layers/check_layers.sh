#!/usr/bin/env bash
# The layers of the house plan, checked on the includes. From the top:
# main/ (the entry) may include everything and nothing includes it; app/ and
# studio/ stand side by side under it and never include each other; model/
# sees only platform/win and platform/file; under platform/, ui sees shell,
# host, win and file, shell sees host, win and file, win sees file, and file,
# the floor, nothing of ours; nothing under platform/ includes model/, app/,
# studio/ or main/. app/ and model/ never include SDL, cairo, pango or other
# drawing libraries; only platform/host includes SDL. Prints each offending line.
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

ours='(app|model|studio|main|tools|res|tests|platform/(file|win|ui|shell|host))/'
offend "app/ and model/ must not include SDL, cairo, pango or other drawing libraries" \
  "$(grep -rnE '#include\s*[<"](SDL|cairo|pango|glib|fontconfig|png|jpeg)' app model)"
offend "nothing includes main/, the top" \
  "$(grep -rnE '#include\s*"main/' app model platform studio)"
offend "nothing under platform/ includes model/, app/ or studio/" \
  "$(grep -rnE '#include\s*"(app|model|studio)/' platform)"
offend "app/ may include only platform/ui, platform/win and model/" \
  "$(grep -rnE '#include\s*"(studio|platform/(shell|host|file))/' app)"
offend "studio/ may include only platform/ui, platform/shell, platform/win, platform/file and model/" \
  "$(grep -rnE '#include\s*"(app|platform/host)/' studio)"
offend "model/ may include only platform/win and platform/file" \
  "$(grep -rnE '#include\s*"(app|studio|platform/(ui|shell|host))/' model)"
offend "platform/ui includes only platform/shell, platform/host, platform/win and platform/file" \
  "$(grep -rnE '#include\s*"(tools|res)/' platform/ui)"
offend "platform/shell includes only platform/host, platform/win and platform/file" \
  "$(grep -rnE '#include\s*"platform/ui/' platform/shell)"
offend "platform/win includes only platform/file" \
  "$(grep -rnE '#include\s*"platform/(ui|shell|host)/' platform/win)"
offend "platform/host includes nothing above it" \
  "$(grep -rnE '#include\s*"platform/(win|ui|shell)/' platform/host)"
offend "platform/file includes nothing of ours" \
  "$(grep -rnE "#include\s*\"$ours" platform/file | grep -vE '#include\s*"platform/file/')"
offend "only platform/host includes SDL" \
  "$(grep -rlE '#include\s*[<"]SDL' app model platform studio main | grep -v '^platform/host/')"

[ $status -eq 0 ] && echo "layers clean"
exit $status
