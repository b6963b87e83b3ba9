#!/usr/bin/env bash
# Runs the test program given on an Xvfb screen of its own.
# Usage: in_xvfb.sh PROGRAM [ARGS...]
set -u
. "$(dirname "$0")/../../e2e/xvfb_session.sh" 640x800
"$@"
