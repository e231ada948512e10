#!/bin/sh
# Installs the build into a scratch prefix and checks the installed tree: every file in its
# place, a launcher that names the program under the prefix it was installed to (not the
# staging folder), and, with the program swapped for a fake, that the installed launcher
# runs it in the data folder. appstreamcli, when installed, checks that the software-centre
# data finds its desktop entry and icon.
# Usage: install_test.sh <build folder> <fake program> <application id> <1 if casinogui is built>
build=$1
fake=$2
id=$3
with_program=$4
work=$(pwd -P)/install-work
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# cmake --install rewrites the build's install_manifest.txt: keep the one of a real install.
manifest=$build/install_manifest.txt
if [ -f "$manifest" ]; then
    cp -p "$manifest" "$work/manifest.saved"
    trap 'cp -p "$work/manifest.saved" "$manifest"' EXIT
else
    trap 'rm -f "$manifest"' EXIT
fi

# The prefix is root/usr, so that the tree looks like a system's to appstreamcli.
prefix=$work/root/usr
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

for file in bin/casino lib/casino/libcasino.so share/applications/$id.desktop \
            share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml; do
    [ -f "$prefix/$file" ] || fail "$file not installed"
done
if [ "$with_program" = 1 ]; then
    [ -x "$prefix/lib/casino/casinogui" ] || fail "lib/casino/casinogui not installed"
fi
[ -x "$prefix/bin/casino" ] || fail "the launcher is not executable"
grep -qxF "program='$prefix/lib/casino/casinogui'" "$prefix/bin/casino" ||
    fail "the launcher does not name $prefix/lib/casino/casinogui"

# The installed launcher runs whatever is installed as the program, in the data folder.
cp "$fake" "$prefix/lib/casino/casinogui"
mkdir -p "$work/start"
(cd "$work/start" &&
    env -i PATH="$PATH" XDG_DATA_HOME="$work/data" CASINO_FAKE_LOG="$work/log" "$prefix/bin/casino") ||
    fail "the installed launcher failed"
[ "$(cat "$work/log" 2>/dev/null)" = "cwd=$work/data/casino starts=1 args=" ] ||
    fail "installed launcher ran the program as: $(cat "$work/log" 2>/dev/null)"

# Staged install: the files go under DESTDIR, the launcher names the real prefix.
if ! DESTDIR=$work/stage cmake --install "$build" --prefix /opt/casino-staged \
        >"$work/stage.log" 2>&1; then
    cat "$work/stage.log" >&2
    fail "cmake --install with DESTDIR"
fi
grep -qxF "program='/opt/casino-staged/lib/casino/casinogui'" "$work/stage/opt/casino-staged/bin/casino" ||
    fail "the staged launcher does not name /opt/casino-staged/lib/casino/casinogui"
[ -e /opt/casino-staged ] && fail "a DESTDIR install wrote outside DESTDIR"

# The software-centre data finds its desktop entry and icon in the installed tree.
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate-tree --no-net "$work/root" >"$work/appstream.log" 2>&1 || {
        cat "$work/appstream.log" >&2
        fail "appstreamcli refused the installed tree"
    }
else
    echo "appstreamcli is not installed: the installed tree was not validated"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install: all checks passed"
