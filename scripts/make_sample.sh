#!/usr/bin/env bash
# Assembles the sample log from its pieces (one per kind of play), in name order.
set -euo pipefail
cd "$(dirname "$0")/.."
cat examples/pieces/*.log > examples/chat.log
