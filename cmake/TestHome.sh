#!/bin/sh
# Runs one test program with a home and XDG folders of its own, made afresh
# under the build folder, so that no test reads or writes the user's files
# (settings, the file dialog's history, font and shader caches).
# Usage: TestHome.sh <folder> <program> [arguments...]
set -e
Folder=$1
shift
rm -rf "$Folder"
mkdir -p "$Folder/home" "$Folder/config" "$Folder/data" "$Folder/cache" "$Folder/runtime"
chmod 700 "$Folder/runtime"
HOME=$Folder/home
XDG_CONFIG_HOME=$Folder/config
XDG_DATA_HOME=$Folder/data
XDG_CACHE_HOME=$Folder/cache
XDG_RUNTIME_DIR=$Folder/runtime
export HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
exec "$@"
