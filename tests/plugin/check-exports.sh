#!/usr/bin/env bash
# Compares a built plug-in's export table with the expected one.
#   check-exports.sh dll RTD2120.dll exports.txt   names and ordinals, and the imported DLLs
#   check-exports.sh so librtd2120.so exports.txt  names of the defined dynamic symbols
# exports.txt holds "ORDINAL NAME" lines. Exits non-zero with a diff on any difference.
set -euo pipefail

kind=$1 library=$2 expected=$3
[[ -f $library ]] || { echo "missing: $library" >&2; exit 1; }
status=0
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT

compare() { # label, expected text, actual file
    if ! diff -u --label "expected $1" --label "actual $1" <(printf '%s\n' "$2") "$3"; then
        status=1
    fi
}

case $kind in
dll)
    dump=$("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$library")
    base=$(sed -n 's/^Export Address Table -- Ordinal Base \([0-9]*\).*/\1/p' <<<"$dump")
    [[ -n $base ]] || { echo "no export table in $library" >&2; exit 1; }
    # The name table lists each name with its index into the address table; the ordinal
    # is that index plus the base.
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
        sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' |
        while read -r index name; do echo "$((index + base)) $name"; done |
        sort -n >"$actual"
    compare "exports of $library" "$(sort -n "$expected")" "$actual"

    # Only DLLs every Windows installation has: no compiler runtime.
    allowed='^(KERNEL32|USER32|GDI32|WINMM|MSVCRT|ADVAPI32|COMCTL32|COMDLG32|SHELL32|OLE32|OLEAUT32|UXTHEME|VERSION)\.DLL$'
    sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '[:lower:]' '[:upper:]' | sort -u >"$actual"
    if grep -Ev "$allowed" "$actual"; then
        echo "^ imports outside the system set" >&2
        status=1
    fi
    ;;
so)
    nm -D --defined-only "$library" | awk '{print $NF}' | sort >"$actual"
    compare "dynamic symbols of $library" "$(awk '{print $2}' "$expected" | sort)" "$actual"
    ;;
*)
    echo "usage: $0 dll|so LIBRARY EXPECTED" >&2
    exit 2
    ;;
esac
[[ $status == 0 ]] && echo "export table of $library: OK"
exit $status
