#!/usr/bin/env bash
# Builds ledgerbox and starts it. The build writes build/works/kvdb.mdb when none exists.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh"
exec "$here/build/ledgerbox"
