#!/usr/bin/env bash
# Proves the layer check on a small tree: every kind of offence is reported
# with its file and line and fails the check; a clean tree passes.
set -euo pipefail
checker="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT

put() { mkdir -p "$(dirname "$tree/$1")"; printf '%b' "$2" >"$tree/$1"; }

# Clean: allowed directions, OS headers in the OS layers, local includes.
put platform/Clock.cpp '#include "platform/Clock.h"\n#include <unistd.h>\n'
put core/script/lua/State.cpp '#include <dlfcn.h>\n#include "core/foundation/Text.h"\n'
put core/foundation/Text.cpp '#include "Text.h"\n#include "platform/Clock.h"\n#include <string>\n'
put app/main.cpp '#include "graphics/engine/Engine.h"\n#include "core/app/App.h"\n'
put gui/Manager.cpp '#include "irrlicht/Gate.h"\n#include "core/app/App.h"\n'
put tests/graphics/engine/EngineSupport.h '#include "graphics/engine/Engine.h"\n'
put tests/support/Folder.h '#include <unistd.h>\n#include "script_api/Binding.h"\n'
put tests/gui/ManagerTest.cpp '#include "graphics/engine/EngineSupport.h"\n#include "support/Folder.h"\n#include <sys/stat.h>\n'
put sound/Part.cpp '#include "core/world/EngineLink.h"\n#include "core/io/Archive.h"\n'
put irrlicht/FileAdapter.cpp '#include "core/io/File.h"\n#include <IReadFile.h>\n#include <vector3d.h>\n'
if ! out="$(bash "$checker" "$tree" 2>&1)"; then
    echo "a clean tree failed:"
    echo "$out"
    exit 1
fi

# Offences, each on a known line.
put platform/Console.cpp '// text\n#include "core/foundation/Text.h"\n'
put core/app/Manager.cpp '#include <vector>\n\n#include "graphics/engine/Engine.h"\n'
put core/foundation/Color.cpp '#include "core/io/Archive.h"\n'
put core/events/Wait.cpp '#include <cstdint>\n  #  include <pthread.h>\n'
put graphics/Window.cpp '#include <X11/Xlib.h>\n'
put physics/newton/Body.cpp '#include "physics/Engine.h"\n'
put gui/Layout.cpp '#include "graphics/engine/Engine.h"\n'
put irrlicht/Gate.cpp '#include "graphics/engine/Engine.h"\n'
put graphics/engine/Locks.cpp '#include "core/script/lua/State.h"\n'
put sound/Mixer.cpp '#include "graphics/engine/Engine.h"\n'
put tests/core/io/ZipTest.cpp '#include "support/Folder.h"\n#include "script_api/File.h"\n'
put core/world/Entity.h '#include "core/io/Archive.h"\n#include "graphics/scene/Node.h"\n'
put lenscart/Cart.cpp '#include "script_api/Binding.h"\n#include "sound/Mixer.h"\n'
put core/io/Stream.cpp '#include <string>\n#include <IReadFile.h>\n'
put core/foundation/Box.h '#include <vector>\n#include <vector3d.h>\n'
if out="$(bash "$checker" "$tree" 2>&1)"; then
    echo "a tree with offences passed:"
    echo "$out"
    exit 1
fi
status=0
for expected in \
    'platform/Console.cpp:2: platform may not include core/foundation' \
    'core/app/Manager.cpp:3: core/app may not include graphics' \
    'core/foundation/Color.cpp:1: core/foundation may not include core/io' \
    'core/events/Wait.cpp:2: <pthread.h> belongs under platform/' \
    'graphics/Window.cpp:1: <X11/Xlib.h> belongs under platform/' \
    'physics/newton/Body.cpp:1: physics/newton may not include physics' \
    'gui/Layout.cpp:1: gui may not include graphics' \
    'irrlicht/Gate.cpp:1: irrlicht may not include graphics' \
    'graphics/engine/Locks.cpp:1: graphics may not include core/script/lua' \
    'sound/Mixer.cpp:1: sound may not include graphics' \
    'tests/core/io/ZipTest.cpp:2: tests/core/io may not include script_api' \
    'core/world/Entity.h:2: core/world may not include graphics' \
    'lenscart/Cart.cpp:2: lenscart may not include sound' \
    "core/io/Stream.cpp:2: <IReadFile.h> is Irrlicht's, which core/io does not include" \
    "core/foundation/Box.h:2: <vector3d.h> is Irrlicht's, which core/foundation does not include" \
    'check_layers: 15 include(s) break the layers'; do
    if ! grep -qF -- "$expected" <<<"$out"; then
        echo "missing: $expected"
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "output was:"
    echo "$out"
    exit 1
fi
echo "check_layers_test: passed"
