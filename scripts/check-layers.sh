#!/usr/bin/env bash
# Fails when a source file includes a folder ranked above its own or a Qt
# header its folder may not use, when a folder has no place in the list below,
# or when a library links a library above it, a Qt module its layer may not
# use, or not the libraries its folder includes. Includes are read from the
# sources; the link graph comes from a scratch configure with --graphviz. With
# --graph, also prints the folder graph the includes make.
#   scripts/check-layers.sh [--graph] [SOURCE_DIR]
set -euo pipefail
graph=0
if [ "${1:-}" = "--graph" ]; then
    graph=1
    shift
fi
src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Folders lowest first, each with the one target built from it and the Qt it
# may use (none, gui, widgets). A folder may include only folders listed
# before it, and its target may link only their targets.
layers="
platform        brenthaul_platform        none
model           brenthaul_model           none
payload         brenthaul_payload         none
gedcom          brenthaul_gedcom          none
columns         brenthaul_columns         none
highlight       brenthaul_highlight       none
reports         brenthaul_reports         none
app             brenthaul_app             none
tests/support   brenthaul_test_support    none
platform/ui     brenthaul_platform_ui     gui
reports/render  brenthaul_reports_render  gui
export          brenthaul_export          gui
model/ui        brenthaul_model_ui        widgets
highlight/ui    brenthaul_highlight_ui    widgets
app/navpanel    brenthaul_app_navpanel    widgets
reports/ui      brenthaul_reports_ui      widgets
app/ui          brenthaul_app_ui          widgets
app/main        brenthaul                 widgets
"
# Tests, benchmarks, fuzz targets and tools sit above every folder of the list
# and may include any of them. tools/ and the tests of a folder without Qt are
# built without Qt too: they include no Qt and no folder that uses it.
tops="tests bench fuzz tools"

cd "$src"
roots=$( (awk 'NF == 3 { sub(/\/.*/, "", $1); print $1 }' <<<"$layers"; tr ' ' '\n' <<<"$tops") | sort -u)
dirs=()
for d in $roots; do [ -d "$d" ] && dirs+=("$d"); done
find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) | sort >"$work/files"
tr '\n' '\0' <"$work/files" | xargs -0 grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' >"$work/includes" || true

# Each include resolves as the compiler finds it: beside the including file,
# then from the source folder (and tests/ for tests); what resolves to no file
# here is a system header, or Qt when it is named like one.
awk -v layers="$layers" -v tops="$tops" -v edges="$work/folder-edges" '
    function norm(p,   n, parts, out, i, k, r) {
        n = split(p, parts, "/")
        k = 0
        for (i = 1; i <= n; i++) {
            if (parts[i] == "" || parts[i] == ".") continue
            if (parts[i] == "..") { if (k == 0) return ""; k--; continue }
            out[++k] = parts[i]
        }
        r = ""
        for (i = 1; i <= k; i++) r = r (i > 1 ? "/" : "") out[i]
        return r
    }
    function dirOf(f) { return match(f, /\/[^\/]*$/) ? substr(f, 1, RSTART - 1) : "." }
    function topOf(d,   p) { split(d, p, "/"); return p[1] in top }
    # The Qt a folder may use; "" when it has no place.
    function qtOf(d,   p) {
        if (d in rank) return qt[d]
        if (!topOf(d)) return ""
        split(d, p, "/")
        if (p[1] == "tools") return "none"
        if (p[1] != "tests") return "widgets"
        if (substr(d, 7) in rank) return qt[substr(d, 7)]
        return d ~ /(^|\/)ui(\/|$)/ ? "widgets" : "none"
    }
    function placeless(d) {
        if (!(d in told)) print "folder " d "/ has no place in the layer list (scripts/check-layers.sh)"
        told[d] = 1
    }
    BEGIN {
        n = split(layers, lines, "\n")
        for (i = 1; i <= n; i++)
            if (split(lines[i], f, " ") == 3) { rank[f[1]] = ++r; qt[f[1]] = f[3] }
        split(tops, t, " ")
        for (i in t) top[t[i]] = 1
    }
    FILENAME == ARGV[1] {
        have[$0] = 1
        if (qtOf(dirOf($0)) == "") placeless(dirOf($0))
        next
    }
    {
        # file:line:text
        file = $0; sub(/:.*/, "", file)
        where = $0; sub(/^[^:]*:[0-9]+:.*#[[:space:]]*include[[:space:]]*/, "", where)
        line = $0; sub(/^[^:]*:/, "", line); sub(/:.*/, "", line)
        angle = substr(where, 1, 1) == "<"
        name = substr(where, 2)
        sub(angle ? ">.*" : "\".*", "", name)
        from = dirOf(file)
        if (qtOf(from) == "") next

        target = ""
        if (!angle && norm(from "/" name) in have) target = norm(from "/" name)
        else if (norm(name) in have) target = norm(name)
        else if (from ~ /^tests(\/|$)/ && norm("tests/" name) in have) target = norm("tests/" name)
        at = file ":" line ": "
        if (target == "") {
            if (name ~ /^(Qt[A-Za-z]*\/)?Q[A-Za-z]*(\.h)?$/ && qtOf(from) == "none")
                print at from "/ builds without Qt but includes " name
            next
        }
        to = dirOf(target)
        if (to == from) next
        if (qtOf(to) == "") next
        if (from in rank) {
            if (!(to in rank)) print at from "/ includes " to "/, which only tests and tools may include"
            else if (rank[to] > rank[from]) print at from "/ includes " to "/, which is ranked above it"
            else print from, to >edges
        } else if (qtOf(from) == "none" && qtOf(to) != "none") {
            print at from "/ builds without Qt but includes " to "/, which uses Qt"
        }
    }' "$work/files" "$work/includes" >"$work/bad-includes"
touch "$work/folder-edges"
sort -u -o "$work/folder-edges" "$work/folder-edges"

if [ $graph -eq 1 ]; then
    echo "Folder graph read from the includes (lowest first; each folder includes only folders before it):"
    awk 'NR == FNR { if (NF == 3) order[++n] = $1; next } { to[$1] = to[$1] " " $2 }
         END { for (i = 1; i <= n; i++) printf "  %-15s ->%s\n", order[i], (order[i] in to) ? to[order[i]] : "" }' \
        <(echo "$layers") "$work/folder-edges"
fi

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$src" -B "$work/build" "${gen[@]}" -DBRENTHAUL_BENCH=OFF -DBRENTHAUL_FUZZ=OFF \
    --graphviz="$work/graph.dot" >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log"
    exit 1
}
# Edge lines carry their ends in a comment: "nodeA" -> "nodeB"  // from -> to
grep -E '^[[:space:]]*"node[0-9]+" -> "node[0-9]+".*// ' "$work/graph.dot" | sed 's#.*// ##' | sort -u >"$work/edges"
if [ ! -s "$work/edges" ]; then
    echo "no link edges found in the CMake graph"
    exit 1
fi

awk -v layers="$layers" -v folderEdges="$work/folder-edges" '
    function reaches(a, b,   i) {
        if (a == b) return 1
        if (a in seen) return 0
        seen[a] = 1
        for (i = 1; i <= nlinks[a]; i++) if (reaches(links[a, i], b)) return 1
        return 0
    }
    BEGIN {
        n = split(layers, lines, "\n")
        for (i = 1; i <= n; i++) {
            if (split(lines[i], f, " ") == 3) { rank[f[2]] = ++r; qt[f[2]] = f[3]; lib[f[1]] = f[2] }
        }
    }
    {
        from = $1; to = $3
        if (to ~ /^Qt6::(moc|uic|rcc)$/) next
        if (from ~ /^brenthaul_/ && !(from in rank)) { print "library " from " has no place in the layer list"; next }
        if (!(from in rank)) next
        if (to ~ /^brenthaul_/) {
            if (!(to in rank)) print from " links " to ", which has no place in the layer list"
            else if (rank[to] >= rank[from]) print from " links upwards to " to
            links[from, ++nlinks[from]] = to
        } else if (to ~ /^Qt6::/) {
            if (qt[from] == "none") print from " is display-free but links " to
            else if (qt[from] == "gui" && to !~ /^Qt6::(Core|Gui)$/) print from " may use only QtCore and QtGui but links " to
        }
    }
    END {
        # What a folder includes, its library reaches through its links.
        while ((getline e <folderEdges) > 0) {
            split(e, f, " ")
            delete seen
            if (!reaches(lib[f[1]], lib[f[2]]))
                print f[1] "/ includes " f[2] "/ but " lib[f[1]] " does not link " lib[f[2]]
        }
    }' "$work/edges" >"$work/bad-links"

fail=0
for f in bad-includes bad-links; do
    if [ -s "$work/$f" ]; then
        cat "$work/$f"
        fail=1
    fi
done
[ $fail -eq 0 ] || echo "Layering broken: the layers are listed in scripts/check-layers.sh"
exit $fail
