#!/usr/bin/env python3
"""Writes the console session of the output benchmark to standard output: the right-hand example
curve with two left and one right pile in a front and a back row, then a continuous stake run of
20 000 stakes (every pause answered with Enter), then the end command."""
import sys

STAKES = int(sys.argv[1]) if len(sys.argv) > 1 else 20000
POINTS_PER_STAKE = 1 + 2 * (2 + 1)  # the stake, then two rows of two left and one right pile

design = ["1", "7", "", "12345.678", "", "3456789.123", "", "512345.678", "", "45.3015", "",
          "30.1530", "", "500", "", "200", "", "250", "",
          "y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"]
run = ["2", "2", "10000", str(10000 + STAKES - 1), "1", "15.3", "1.5", "2"]
sys.stdout.write("\n".join(design + run) + "\n")
sys.stdout.write("\n" * (STAKES * POINTS_PER_STAKE))
sys.stdout.write("3\n")
