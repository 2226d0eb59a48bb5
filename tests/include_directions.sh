#!/bin/sh
# The rooms of the program include only the rooms below them: each line names a folder of src and
# the folders its files may include from. Every include of another folder is listed, and the test
# fails with them. Usage: include_directions.sh SOURCE_FOLDER
cd "$1/src" || exit 2
status=0
while read -r room allowed; do
    [ -n "$room" ] || continue
    pattern=$(printf '%s' "$allowed" | tr ' ' '|')
    found=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$room" |
        grep -vE "#[[:space:]]*include[[:space:]]*\"($pattern)/")
    if [ -n "$found" ]; then
        echo "$room may include only from: $allowed"
        echo "$found"
        status=1
    fi
done <<'ROOMS'
curve       curve
geometry    curve geometry
export      curve export
alignment   curve geometry alignment
route_files curve geometry platform alignment export route_files
terrain     curve geometry alignment terrain
cad         curve geometry alignment export route_files cad
stakes      curve geometry alignment port platform export stakes
report      curve geometry alignment port stakes report
layout      curve geometry port platform export alignment entry stakes report route_files terrain cad commands layout
ROOMS
exit $status
