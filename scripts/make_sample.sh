#!/usr/bin/env bash
# Assembles the sample log from its pieces (one per kind of play), in name order.
set -euo pipefail
cd "$(dirname "$0")/.."
# Pieces are UTF-8 text; the log itself is ISO-8859-1, as the game writes it.
cat examples/pieces/*.log | iconv -f UTF-8 -t ISO-8859-1 > examples/chat.log
