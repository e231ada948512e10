#!/bin/sh
# Builds the Debian package with CPack into this test's folder and checks it: its exact file
# list with owners and modes, its control fields (run-time dependencies found by
# dpkg-shlibdeps and Qt's platform plugins), the launcher's program path under /usr, and that
# no binary keeps a library search path into the build tree.
# Usage: package_test.sh <CPackConfig.cmake> <version> <application id> [licence files...]
# Exits 77 (skipped) when dpkg-deb, dpkg-shlibdeps or file is not installed.
config=$1
version=$2
id=$3
shift 3
for tool in dpkg-deb dpkg-shlibdeps file readelf; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed" >&2
        exit 77
    fi
done
work=$(pwd -P)/package-work
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# cpack's install step rewrites the build's install_manifest.txt: keep the one of a real install.
manifest=$(dirname "$config")/install_manifest.txt
if [ -f "$manifest" ]; then
    cp -p "$manifest" "$work/manifest.saved"
    trap 'cp -p "$work/manifest.saved" "$manifest"' EXIT
else
    trap 'rm -f "$manifest"' EXIT
fi

if ! cpack --config "$config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$work/out/casino_${version}_$arch.deb
if [ ! -f "$deb" ]; then
    ls "$work/out" >&2
    echo "FAIL: no package $deb" >&2
    exit 1
fi

# --- file list: every file with its mode and owner, nothing else --------------------------
{
    echo "-rwxr-xr-x root/root ./usr/bin/casino"
    echo "-rwxr-xr-x root/root ./usr/lib/casino/casinogui"
    echo "-rw-r--r-- root/root ./usr/lib/casino/libcasino.so"
    echo "-rw-r--r-- root/root ./usr/share/applications/$id.desktop"
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/$id.svg"
    echo "-rw-r--r-- root/root ./usr/share/metainfo/$id.metainfo.xml"
    for licence in "$@"; do
        echo "-rw-r--r-- root/root ./usr/share/doc/casino/${licence##*/}"
    done
} | sort >"$work/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"$work/actual"
if ! diff -u "$work/expected" "$work/actual" >"$work/files.diff"; then
    cat "$work/files.diff" >&2
    fail "the package's file list differs (- expected, + in the package)"
fi

# --- control fields -----------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = casino ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    case ", $depends," in
        *", $package "* | *", $package,"*) ;;
        *) fail "Depends lacks $package: $depends" ;;
    esac
done

# --- contents -------------------------------------------------------------------------------
mkdir -p "$work/root"
dpkg-deb -x "$deb" "$work/root"
grep -qxF "program='/usr/lib/casino/casinogui'" "$work/root/usr/bin/casino" ||
    fail "the packaged launcher does not name /usr/lib/casino/casinogui"
for binary in casinogui libcasino.so; do
    paths=$(readelf -d "$work/root/usr/lib/casino/$binary" | grep -E '\((RPATH|RUNPATH)\)')
    case $paths in
        "" | *"[\$ORIGIN]"*) ;;
        *) fail "$binary keeps a library search path: $paths" ;;
    esac
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package: all checks passed ($deb)"
