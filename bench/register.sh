#!/usr/bin/env bash
# The register's searches and Save against the sqlite3 program on a copy of the same file, in the same
# run (targets: each search at most 1.2 times sqlite3's time). $1: the build folder.
set -euo pipefail
build=${1:?build folder}
command -v sqlite3 >/dev/null || { echo "sqlite3 is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_register" "$work" "${ROUNDS:-9}"
