#!/bin/sh
# Rewrites the golden reports from the current prober. Run it only on
# purpose, and review the change to the golden files like code.
#   tests/player/regenerate_golden.sh BUILD_FOLDER
set -eu
build=${1:?usage: regenerate_golden.sh BUILD_FOLDER}
cmake --build "$build" --target test_player
OSTRELA_WRITE_GOLDEN=1 "$build/tests/test_player" --gtest_filter='ProbeTest.ReportsEqualTheGoldenFiles'
git -C "$(dirname "$0")" diff --stat -- golden
