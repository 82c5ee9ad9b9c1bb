#!/usr/bin/env bash
# Shows the program on the bundled demo archives.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=$here/build/native/src/cli/kestrum-cli
demo=$here/build/native/demo
for archive in "$demo/demo.bsa" "$demo/demo-deflate.bsa"; do
  "$cli" info "$archive"
  "$cli" list "$archive"
  echo
done
