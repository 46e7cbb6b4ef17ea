#!/bin/sh
# Starts the program from where it is installed beside its data files.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/sorafumi/sorafumi" "$@"
