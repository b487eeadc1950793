#!/usr/bin/env bash
# Tests the installed package, not the build tree: installs the engine built
# in <build-dir> into a fresh prefix, builds examples/ against it with
# find_package(qzskin), runs hello and mdi headlessly, and builds a one-file program
# with nothing but `pkg-config --cflags --libs qzskin`.
#   scripts/check-install.sh <build-dir>
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for file in include/qzskin/skin/form/Orvane.h lib/cmake/qzskin/qzskinConfig.cmake \
            lib/cmake/qzskin/qzskinConfigVersion.cmake lib/pkgconfig/qzskin.pc \
            share/qzskin/skins/skin.skn share/qzskin/skins/dialog.skn \
            bin/skinpack bin/skinshot bin/skinsheet bin/qzdialog; do
  [ -e "$prefix/$file" ] || { echo "check-install: $file is not installed" >&2; exit 1; }
done
for folder in tools tests app skins; do
  if [ -e "$prefix/include/qzskin/$folder" ]; then
    echo "check-install: include/qzskin/$folder is installed" >&2; exit 1
  fi
done

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S examples -B "$work/examples" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$work/examples"

# One frame of hello, headless, as a PNG of the window's screen.
QZ_PLATFORM=headless "$work/examples/hello/hello" --screenshot "$work/hello.png"
python3 - "$work/hello.png" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
w, h = struct.unpack(">II", data[16:24])
assert w >= 360 and h >= 200 and len(data) > 2000, f"implausible PNG: {w}x{h}, {len(data)} bytes"
print(f"hello --screenshot: {w}x{h} PNG, {len(data)} bytes")
PY

# The MDI example with five documents, headless.
QZ_PLATFORM=headless "$work/examples/mdi/mdi" --children 5 --screenshot "$work/mdi.png"
python3 - "$work/mdi.png" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
w, h = struct.unpack(">II", data[16:24])
assert w >= 900 and h >= 600 and len(data) > 5000, f"implausible PNG: {w}x{h}, {len(data)} bytes"
print(f"mdi --screenshot: {w}x{h} PNG, {len(data)} bytes")
PY

# A program that names no engine class in its code creates every published
# one it asks for by name, through the class registry: the registering
# objects survive plain pkg-config linking.
cat > "$work/byname.cpp" <<'CPP'
#include <cstdio>
#include <string>
#include "host/components/Properties.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
int main() {
  qz::Application->Initialize();
  auto* owner = new qz::TForm(qz::Application);
  for (const char* name : {"TqzSkinData", "TqzOrvane", "TqzSkinButton", "TqzSkinPageControl",
                           "TqzSkinListBox", "TqzSkinMainMenu", "TqzCompressedStoredSkin"}) {
    qz::TComponent* c = qz::GetClassInfo(name).Create(owner);
    if (c->ClassName() != std::string(name)) return std::printf("made %s for %s\n", c->ClassName(), name), 1;
  }
  std::puts("byname: every class created by name");
  return 0;
}
CPP
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}
# shellcheck disable=SC2046  # the flags are words
g++ -std=c++20 -o "$work/byname" "$work/byname.cpp" $(pkg-config --cflags --libs qzskin)
LD_LIBRARY_PATH=$prefix/lib QZ_PLATFORM=headless "$work/byname"
