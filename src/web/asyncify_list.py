#!/usr/bin/env python3
"""The functions Asyncify instruments in the page's module, as patterns of their names.

A question of a command waits for the page's dialog by unwinding the WebAssembly stack and
rewinding it later (emscripten's Asyncify). Only the functions that can be on the stack while a
command waits need that: the page's entries and port (src/web), the commands and what they call
that asks, shows a message, prints or chooses a file (src/commands, src/entry, src/port,
src/report, src/stakes). The numeric core and the route page's code never wait; instrumenting
them, as Asyncify does by default, makes the WebAssembly some 40 % larger and the page slower
to start.

Usage: asyncify_list.py NM OUTPUT LIBRARY_OR_OBJECT...
NM is llvm-nm; every function defined in the files given becomes a pattern "*qualified::name*",
which also matches its lambdas and the std::function wrappers around them (their names hold the
enclosing function's). Written only when it changes, so that an unchanged list links nothing
again.
"""
import re
import subprocess
import sys


def qualified_name(symbol):
    """The function's qualified name without its return type, template arguments and
    parameters: "hcurve::(anonymous namespace)::confirmLoop"."""
    anonymous = "(anonymous namespace)"
    depth = 0
    start = 0
    i = 0
    while i < len(symbol):
        c = symbol[i]
        if symbol.startswith(anonymous, i):
            i += len(anonymous)
            continue
        if c in "<(":
            if c == "(" and depth == 0:
                return symbol[start:i]
            depth += 1
        elif c in ">)" and depth > 0:
            depth -= 1
        elif c == " " and depth == 0:
            # A return type before the name (a function template's).
            start = i + 1
        i += 1
    return symbol[start:]


def patterns(symbols):
    found = set()
    for symbol in symbols:
        if symbol.startswith("std::__2::__function::__func<"):
            # The wrapper of a callable: named by the callable's own enclosing function.
            inner = symbol[len("std::__2::__function::__func<"):]
            name = qualified_name(inner)
        else:
            name = qualified_name(symbol)
        name = name.strip()
        # Only the program's own functions and the page's C entries; the standard library's
        # instantiations are matched through the names of the functions they hold.
        # A name with a comma cannot be passed on (the list is comma-separated).
        if name.startswith("hcurve::") and "," not in name:
            found.add("*" + name + "*")
        entry = re.match(r"hcurve_\w+", name)
        if entry:
            # A C entry of the page, and the lambdas inside it.
            found.update([entry.group(0), "*" + entry.group(0) + "::*"])
    # std::function's call, where it is not inlined: it stands between a command and a callable
    # of the page that waits (a file chosen, a printer made).
    found.update(["std::__2::function<*>::operator()*",
                  "std::__2::__function::__value_func<*>::operator()*"])
    return sorted(found)


def main():
    nm, output, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    listing = subprocess.run([nm, "--defined-only", "--demangle", *files], check=True,
                             capture_output=True, text=True).stdout
    symbols = []
    for line in listing.splitlines():
        m = re.match(r"^[0-9a-fA-F]+ [TtWw] (.*)$", line)
        if m:
            symbols.append(m.group(1))
    text = "".join(p + "\n" for p in patterns(symbols))
    if not text:
        sys.exit("asyncify_list.py: no functions found in " + " ".join(files))
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
