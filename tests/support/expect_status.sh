#!/bin/sh
# Runs a test's command and hands on its output; when the command ends with another status than
# the one expected, says so in a line of its own and fails. ctest judges a test by its output
# alone once the test matches on it, so the line is what hcurve_add_output_test's
# FAIL_REGULAR_EXPRESSION looks for.
# Usage: expect_status.sh STATUS COMMAND [ARGUMENT...]
expected=$1
shift
"$@"
status=$?
if [ "$status" != "$expected" ]; then
    printf "\nhcurve-test: exit status %s where %s was expected\n" "$status" "$expected"
    exit 1
fi
