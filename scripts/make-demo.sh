#!/usr/bin/env bash
# Creates the demo installation once, and refreshes its program files from the build every time:
#   <demo>/program/          kvmulti.exe with its skin pack, phone list, fonts, 7za.exe and pathconfig.ini
#   <demo>/Android14|Android9/   install folders of lines 4 and 2: the stand-in rqplayer.exe of the right
#                            version, small template disks, and a few instances
# Line 0 (Android 7.1, 32-bit) is left out of "pathconfig.ini" on every run: the add dialog offers it for
# download, and the stand-in installer that run.sh's local server hands out installs it into <demo>/Android71.
# With a language code, every line's settings name it as "languageId", the language the manager starts in
# (the line it reads from depends on the last run, so all of them carry it); without one they stay as they are.
# Usage: make-demo.sh <windows build folder> <demo folder> [language code]
set -euo pipefail
build=$1
demo=$2
language=${3:-}

# Wine sees the Linux root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

mkdir -p "$demo/program"
cp -r "$build/program/." "$demo/program/"
rm -rf "$demo/program/log" # each run starts with a fresh log

# instance <install folder> <index> <name> <width> <height> <disk extension>
instance() {
    local folder=$1 index=$2 name=$3 width=$4 height=$5 ext=$6
    mkdir -p "$folder/vms/vantor$index" "$folder/vms/config"
    for disk in system data sdcard; do truncate -s 4M "$folder/vms/vantor$index/$disk.$ext"; done
    cat >"$folder/vms/config/vantor$index.config" <<JSON
{
    "statusSettings.playerName": "$name",
    "advancedSettings.resolution": { "width": $width, "height": $height },
    "advancedSettings.resolutionDpi": 240,
    "advancedSettings.cpuCount": 2,
    "advancedSettings.memorySize": 2048
}
JSON
}

# install <folder> <stand-in major> <disk extension> then instances as "index|name|width|height"
install() {
    local folder=$1 major=$2 ext=$3
    shift 3
    mkdir -p "$folder"
    cp "$build/standin/$major/rqplayer.exe" "$folder/rqplayer.exe"
    if [ -d "$folder/vms" ]; then return; fi # instances are created once; the user's changes stay
    for disk in system data data-3G; do truncate -s 8M "$folder/$disk.$ext"; done
    local spec
    for spec in "$@"; do
        IFS='|' read -r index name width height <<<"$spec"
        instance "$folder" "$index" "$name" "$width" "$height" "$ext"
    done
}

install "$demo/Android14" 14 vdi "0|Farm one|1280|720" "1|Farm two|1280|720" "2|Tablet|1600|900"
install "$demo/Android9" 9 vmdk "0|Shop|960|540" "1|Guild bot|720|1280"

# set_language <install folder>: "languageId" in the line's settings file, its other settings kept.
set_language() {
    local file=$1/vms/config/vantors.config
    mkdir -p "$(dirname "$file")"
    node -e '
        const fs = require("fs");
        const [file, code] = process.argv.slice(1);
        let doc = {};
        try { doc = JSON.parse(fs.readFileSync(file, "utf8")); } catch (e) { /* absent or damaged: start anew */ }
        doc.languageId = code;
        fs.writeFileSync(file, JSON.stringify(doc, null, 4) + "\n");
    ' "$file" "$language"
}
if [ -n "$language" ]; then
    for folder in "$demo/Android14" "$demo/Android9"; do set_language "$folder"; done
fi

# A group of line 14 for the group control window (its frame docks the group's running instances), written
# once: the user's groups stay.
if [ ! -f "$demo/program/data/groupsV2" ]; then
    mkdir -p "$demo/program/data"
    printf '\r\nvantor14\r\nFarm|167772160|167772161|167772162||left=0|top=0|width=0|height=0|expand=1\r\nvantor9\r\nvantor5_32\r\nvantor5_64\r\nvantor3' \
        >"$demo/program/data/groupsV2"
fi

printf '[setting]\r\nplayer9=%s\r\nplayer14=%s\r\n' \
    "$(windows_path "$demo/Android9")" "$(windows_path "$demo/Android14")" >"$demo/program/pathconfig.ini"
rm -f "$demo/program/servers.ini" "$demo/program/KVPlayer32.exe" # the local server writes the first anew
echo "$demo/program/kvmulti.exe"
