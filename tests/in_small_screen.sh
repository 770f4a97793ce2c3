#!/bin/sh
# Runs a test program in the Wine prefix whose display is 1024 x 768.
: "${CLIPTEXT_SMALL_ROOT:?run the tests through scripts/test.sh}"
export DISPLAY="$CLIPTEXT_SMALL_DISPLAY" WINEPREFIX="$CLIPTEXT_SMALL_ROOT/prefix" HOME="$CLIPTEXT_SMALL_ROOT/home"
exec "${WINELOADER:-wine}" "$@"
