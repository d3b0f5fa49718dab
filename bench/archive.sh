#!/usr/bin/env bash
# The archive job against Info-ZIP's zip -6 on the same scans, in the same run. $1: the build folder.
set -euo pipefail
build=${1:?build folder}
command -v zip >/dev/null || { echo "zip is not installed" >&2; exit 1; }
"$build/bench/bench_archive"
