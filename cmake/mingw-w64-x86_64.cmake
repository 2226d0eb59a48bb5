# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads compilers). The
# C and C++ runtimes and winpthread are linked statically, so that hcurve.exe needs no DLL beside
# it on a bare Windows. Programs built here run under Wine (tools/wine-run.sh) for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HCURVE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HCURVE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HCURVE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${HCURVE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HCURVE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static takes winpthread's archive instead of its DLL as well.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests run the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
