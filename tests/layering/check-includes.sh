#!/usr/bin/env bash
# Fails on an include that breaks the tree's layering:
#   - a header other than the C++ standard library's in angle brackets (an OS or toolkit
#     header) outside platform/ and host/;
#   - isp/ or image/ including one of plugin/'s own headers (the public header
#     plugin/include/rtd2120/rtd2120.h is fine);
#   - the image library (its sources, given as arguments, and every header they reach)
#     including anything but the standard library and the image library's own headers;
#   - a quoted include that names no header of the shipped folders, or more than one;
#   - a folder of the plug-in including from a layer it must not reach (the table at the
#     end).
#   - in host/, an include that points up the layers (system, bus, adapters/common,
#     adapters/<kind>, session, then cli and gui), from one adapter kind to another, or
#     between the two front ends.
#
#   check-includes.sh ROOT IMAGE-SOURCE...
# Prints one line per fault ("file: reason") and exits 1 when there is any.
#   check-includes.sh --expect FILE ROOT IMAGE-SOURCE...
# Succeeds only when the faults found are exactly the lines of FILE (in any order): the
# check of the check, on a tree made to break every rule.
set -euo pipefail

if [[ ${1:-} == --expect ]]; then
    expected=$2
    shift 2
    found=$(bash "${BASH_SOURCE[0]}" "$@" | sort) && {
        echo "no fault found in $1"
        exit 1
    }
    diff <(sort "$expected") <(echo "$found") && exit 0
    echo "the faults found differ from $expected"
    exit 1
fi

root=$1
shift
cd "$root"

std_headers=" algorithm any array atomic bitset cassert cctype cerrno cfloat charconv chrono
 cinttypes climits clocale cmath codecvt complex condition_variable csetjmp csignal cstdarg
 cstddef cstdint cstdio cstdlib cstring ctime cwchar cwctype deque exception execution
 filesystem forward_list fstream functional future initializer_list iomanip ios iosfwd
 iostream istream iterator limits list locale map memory memory_resource mutex new numeric
 optional ostream queue random ratio regex scoped_allocator set shared_mutex sstream stack
 stdexcept streambuf string string_view system_error thread tuple type_traits typeindex
 typeinfo unordered_map unordered_set utility valarray variant vector "
std_headers=${std_headers//$'\n'/ }

folders=(plugin isp image settings write ui sim platform host)
mapfile -t headers < <(find "${folders[@]}" -name '*.h' -type f 2>/dev/null | sort)
faults=0
fault() {
    echo "$1: $2"
    faults=$((faults + 1))
}

# The one header a quoted include names: a tree header whose path ends in it.
resolve() {
    local name=$1 h found=()
    for h in "${headers[@]}"; do
        [[ $h == "$name" || $h == */"$name" ]] && found+=("$h")
    done
    if [[ ${#found[@]} == 1 ]]; then
        echo "${found[0]}"
    elif [[ ${#found[@]} == 0 ]]; then
        echo "?missing"
    else
        echo "?ambiguous"
    fi
}

quoted_includes() { sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$1"; }
angle_includes() { sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$1"; }

mapfile -t shipped < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
for file in "${shipped[@]}"; do
    folder=${file%%/*}
    if [[ $folder != platform && $folder != host ]]; then
        while read -r name; do
            [[ -z $name ]] && continue
            [[ $std_headers == *" $name "* ]] || fault "$file" "includes <$name>, not a standard header"
        done < <(angle_includes "$file")
    fi
    while read -r name; do
        [[ -z $name ]] && continue
        target=$(resolve "$name")
        case $target in
        "?missing") fault "$file" "includes \"$name\", which names no header of the shipped folders" ;;
        "?ambiguous") fault "$file" "includes \"$name\", which names more than one header" ;;
        plugin/include/*) ;;
        plugin/*)
            [[ $folder == isp || $folder == image ]] &&
                fault "$file" "includes \"$name\" ($target), an export-layer header"
            ;;
        esac
    done < <(quoted_includes "$file")
done

# The image library: follow its includes from its sources.
declare -A seen=()
own_sources=" $* "
queue=("$@")
while [[ ${#queue[@]} -gt 0 ]]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    [[ -n ${seen[$file]:-} ]] && continue
    seen[$file]=1
    while read -r name; do
        [[ -z $name ]] && continue
        [[ $std_headers == *" $name "* ]] ||
            fault "$file" "image library includes <$name>, not a standard header"
    done < <(angle_includes "$file")
    while read -r name; do
        [[ -z $name ]] && continue
        target=$(resolve "$name")
        [[ $target == "?"* ]] && continue # reported above
        source=${target%.h}.cpp
        if [[ $target != image/* ]] || { [[ -f $source ]] && [[ $own_sources != *" $source "* ]]; }; then
            fault "$file" "image library includes \"$name\" ($target), not one of its own headers"
            continue
        fi
        queue+=("$target")
    done < <(quoted_includes "$file")
done

# The plug-in's layers: what each folder's quoted includes may name, by the folder of the
# header (platform/dialogs/ counted apart from platform/; the public header is open to all;
# isp/ and image/ reaching plugin/ are reported above, and the image library's own rule
# keeps image/ pure).
declare -A may_include=(
    [settings]="settings platform"
    [platform/dialogs]="platform/dialogs"
    [isp]="isp image settings platform"
    [write]="write isp image settings platform"
    [sim]="sim image"
    [ui]="ui platform/dialogs isp image settings platform"
)
layer_of() {
    case $1 in
    platform/dialogs/*) echo platform/dialogs ;;
    *) echo "${1%%/*}" ;;
    esac
}
for file in "${shipped[@]}"; do
    layer=$(layer_of "$file")
    allowed=${may_include[$layer]:-}
    [[ -z $allowed ]] && continue
    while read -r name; do
        [[ -z $name ]] && continue
        target=$(resolve "$name")
        [[ $target == "?"* || $target == plugin/include/* ]] && continue
        owner=$(layer_of "$target")
        [[ $owner == plugin && ($layer == isp || $layer == image) ]] && continue
        [[ " $allowed " == *" $owner "* ]] ||
            fault "$file" "includes \"$name\" ($target), but $layer/ includes only from: $allowed"
    done < <(quoted_includes "$file")
done

# The host's layers, bottom up: system, bus, adapters/common, adapters/<kind>, session, and
# the two front ends cli and gui. A host file includes only its own layer and those below
# it; no adapter kind includes another kind, and the front ends never include each other.
host_rank() {
    case $1 in
    host/system/*) echo 0 ;;
    host/bus/*) echo 1 ;;
    host/adapters/common/*) echo 2 ;;
    host/adapters/*/*) echo 3 ;;
    host/session/*) echo 4 ;;
    host/cli/* | host/gui/*) echo 5 ;;
    *) echo -1 ;;
    esac
}
# "bus", "adapters/ch341", "cli", ...
host_layer() {
    local rest=${1#host/}
    case $rest in
    adapters/*) rest=${rest#adapters/} && echo "adapters/${rest%%/*}" ;;
    *) echo "${rest%%/*}" ;;
    esac
}
mapfile -t host_files < <(printf '%s\n' "${shipped[@]}" | grep '^host/' || true)
for file in "${host_files[@]}"; do
    from_rank=$(host_rank "$file")
    [[ $from_rank == -1 ]] && continue
    from=$(host_layer "$file")
    while read -r name; do
        [[ -z $name ]] && continue
        target=$(resolve "$name")
        [[ $target == host/* ]] || continue
        to_rank=$(host_rank "$target")
        to=$(host_layer "$target")
        [[ $to_rank == -1 || $to == "$from" ]] && continue
        if ((to_rank > from_rank)); then
            fault "$file" "includes \"$name\" ($target): host/$to is a layer above host/$from"
        elif ((to_rank == 3 && from_rank == 3)); then
            fault "$file" "includes \"$name\" ($target): one adapter kind includes another"
        elif ((to_rank == 5 && from_rank == 5)); then
            fault "$file" "includes \"$name\" ($target): the front ends cli and gui are peers"
        fi
    done < <(quoted_includes "$file")
done

exit $((faults > 0))
