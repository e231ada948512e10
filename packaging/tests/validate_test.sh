#!/bin/sh
# Checks a desktop entry or software-centre file with its validator:
#   validate_test.sh desktop <file>    desktop-file-validate
#   validate_test.sh metainfo <file>   appstreamcli, offline and pedantic
# Exits 77 (skipped) when the validator is not installed.
kind=$1
file=$2
case $kind in
    desktop) set -- desktop-file-validate "$file" ;;
    metainfo) set -- appstreamcli validate --no-net --pedantic "$file" ;;
    *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
if ! command -v "$1" >/dev/null 2>&1; then
    echo "$1 is not installed" >&2
    exit 77
fi
"$@"
