#!/usr/bin/env bash
# Fails when a core folder includes a Qt header, or when a library links a
# library above it or a Qt module its layer may not use. The link graph comes
# from a scratch configure with --graphviz.
set -euo pipefail
src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Libraries lowest first, each with the Qt it may link (none, gui, widgets).
# A library may link only libraries listed before it.
layers="
brenthaul_platform none
brenthaul_model none
brenthaul_payload none
brenthaul_gedcom none
brenthaul_columns none
brenthaul_highlight none
brenthaul_reports none
brenthaul_app none
brenthaul_test_support none
brenthaul_platform_ui gui
brenthaul_reports_render gui
brenthaul_export gui
brenthaul_model_ui widgets
brenthaul_highlight_ui widgets
brenthaul_app_navpanel widgets
brenthaul_reports_ui widgets
brenthaul_app_ui widgets
"
core_dirs="platform model gedcom columns highlight payload reports app"

fail=0
for d in $core_dirs; do
    # Only the folder itself: its ui/ subfolder is the Qt side.
    if hits=$(find "$src/$d" -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) -print0 |
              xargs -0 grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Qt[A-Za-z]*/)?Q[A-Za-z]*(\.h)?[>"]'); then
        echo "Qt header in the core folder $d:"
        echo "$hits"
        fail=1
    fi
done

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$src" -B "$work" "${gen[@]}" -DBRENTHAUL_BENCH=OFF -DBRENTHAUL_FUZZ=OFF --graphviz="$work/graph.dot" >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log"
    exit 1
}
# Edge lines carry their ends in a comment: "nodeA" -> "nodeB"  // from -> to
grep -E '^[[:space:]]*"node[0-9]+" -> "node[0-9]+".*// ' "$work/graph.dot" | sed 's#.*// ##' | sort -u >"$work/edges"
if [ ! -s "$work/edges" ]; then
    echo "no link edges found in the CMake graph"
    exit 1
fi

bad=$(awk -v layers="$layers" '
    BEGIN {
        n = split(layers, lines, "\n")
        for (i = 1; i <= n; i++) {
            if (split(lines[i], f, " ") == 2) { rank[f[1]] = ++r; qt[f[1]] = f[2] }
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
        } else if (to ~ /^Qt6::/) {
            if (qt[from] == "none") print from " is display-free but links " to
            else if (qt[from] == "gui" && to !~ /^Qt6::(Core|Gui)$/) print from " may use only QtCore and QtGui but links " to
        }
    }' "$work/edges")
if [ -n "$bad" ]; then
    echo "$bad"
    fail=1
fi
exit $fail
