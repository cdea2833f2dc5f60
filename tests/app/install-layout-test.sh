#!/usr/bin/env bash
# The installed layout as a package has it: the programs side by side in the
# program folder, "Data" beside them leading to the installed data folder, a
# desktop entry that starts the installed launcher, and its icon.
#
# Usage: install-layout-test.sh BUILD_DIR PREFIX PROGRAM_DIR
set -euo pipefail
build=$1 prefix=$2 program_dir=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" >"$stage.log" 2>&1 || { cat "$stage.log" >&2; rm -f "$stage.log"; fail "install"; }
rm -f "$stage.log"
programs=$stage$prefix/$program_dir
for name in pavlora Loader pavlora-jp2 pavlora-tool; do
    [[ -x $programs/$name ]] || fail "$name is not in the program folder"
done

# "Data" is a relative link, so the staged tree works wherever it is unpacked.
[[ -L $programs/Data ]] || fail "no Data link in the program folder"
[[ $(readlink "$programs/Data") != /* ]] || fail "the Data link is absolute"
[[ -f $programs/Data/Products.dat ]] || fail "the Data link does not lead to the data folder"
export XDG_CONFIG_DIRS=$stage/no-system-config HOME=$stage/home XDG_RUNTIME_DIR=$stage/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$programs/pavlora-tool" catalogue list --program "$programs" 2>/dev/null | grep -q '^Prints' \
    || fail "the installed tool does not read the installed catalogue"

desktop=$stage$prefix/share/applications/pavlora.desktop
[[ -f $desktop ]] || fail "no desktop entry"
[[ $(head -n1 "$desktop") == "[Desktop Entry]" ]] || fail "the desktop entry has no [Desktop Entry] group first"
value() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(value Type) == Application ]] || fail "Type is not Application"
[[ -n $(value Name) ]] || fail "no Name"
exec_line=$(value Exec)
[[ $exec_line == "$prefix/$program_dir/Loader" ]] || fail "Exec is '$exec_line', not the installed launcher"
[[ -x $stage$exec_line ]] || fail "Exec names no installed program"
[[ $(value TryExec) == "$exec_line" ]] || fail "TryExec differs from Exec"
[[ $(value Categories) == *\; ]] || fail "Categories does not end with ;"
icon=$stage$prefix/share/icons/hicolor/scalable/apps/$(value Icon).svg
[[ -f $icon ]] || fail "no icon $(value Icon) in the hicolor theme"
grep -q '<svg' "$icon" || fail "the icon is no SVG picture"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
echo "install layout ok"
