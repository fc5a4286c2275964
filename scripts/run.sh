#!/usr/bin/env bash
# Builds ledgerbox (only the program and its schema tool) and starts it on the books in the data
# folder: $LEDGERBOX_HOME, else $XDG_DATA_HOME/ledgerbox, else ~/.local/share/ledgerbox. A data
# folder or database that does not exist yet is made first; an existing one is never replaced.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh" ledgerbox lb_makedb
"$here/build/lb_makedb"
exec "$here/build/ledgerbox" "$@"
