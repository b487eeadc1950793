#!/usr/bin/env bash
# Checks the include structure of the libraries (host/ and skin/): no file
# includes tools/, tests/, app/ or skins/, and no folder includes one above
# it in the layer order below. Prints every offending line as
# file:line: message and exits 1 when there is one.
#   scripts/check-layers.sh [source-dir]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Bottom to top. A folder may include its own files and those of the
# folders before it; subfolders belong to their folder (host/platform/sdl).
# skin/dialogs holds the dialogs, which build skinned forms with their own
# controller and so stand above skin/form.
LAYERS="
host/base host/components host/graphics host/platform host/shell host/ui
skin/base skin/draw skin/data skin/controls skin/popups skin/form skin/dialogs
"

# The window system of host/ui (handles, window data, messages, painting)
# sits below the controls and forms that use it: it includes nothing of
# host/ui but its own files. It keeps windows for window nodes
# (WindowNode.h), which the controls implement; controls, forms, drag and
# drop and the rest reach it through the hooks they install
# (TWindowSystemHooks).
WINDOW_LAYER="host/ui/DefWindowProc host/ui/HandleTable host/ui/Input host/ui/Windows host/ui/WindowSystem
  host/ui/WindowSystemHooks host/ui/WindowNode"

status=0
find host skin -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print0 | sort -z |
  xargs -0 awk -v layers="$LAYERS" -v windowLayer="$WINDOW_LAYER" '
  BEGIN {
    n = split(layers, names, /[ \n]+/)
    rank = 0
    for (i = 1; i <= n; ++i)
      if (names[i] != "") layer[names[i]] = ++rank
    split(windowLayer, w, /[ \n]+/)
    for (i in w) window[w[i]] = 1
    bad = 0
  }
  # The layer folder of a path: its first two components.
  function folder(path, parts) {
    split(path, parts, "/")
    return parts[1] "/" parts[2]
  }
  function stem(path) {
    sub(/\.[^.\/]*$/, "", path)
    return path
  }
  function report(msg) {
    printf "%s:%d: %s\n", FILENAME, FNR, msg
    bad = 1
  }
  /^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0
    sub(/^[^"]*"/, "", inc)
    sub(/".*$/, "", inc)
    if (inc ~ /^(tools|tests|app|skins)\//) {
      top = inc
      sub(/\/.*/, "/", top)
      report("includes " inc ": the libraries build on nothing of " top)
      next
    }
    from = folder(FILENAME)
    to = folder(inc)
    if (!(to in layer)) {
      report("includes " inc ", which lies in no layer folder")
      next
    }
    if (layer[to] > layer[from]) {
      report("includes " inc ": " to " lies above " from)
      next
    }
    if (stem(FILENAME) in window && inc ~ /^host\/ui\// && !(stem(inc) in window))
      report("includes " inc ": the window system lies below the rest of host/ui")
  }
  END { exit bad }
' || status=1
exit $status
