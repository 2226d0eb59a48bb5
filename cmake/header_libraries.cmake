# fmt (number texts) and fast_float (reading numbers), header-only from their Debian packages
# (libfmt-dev, libfast-float-dev), one code path for every target: the floating-point
# std::to_chars and std::from_chars are missing from some standard libraries (emscripten's).
# Their own folders are linked into a folder of the build tree, so that a cross build has them on
# its include path without the host's /usr/include, whose C library would take the target's place.
# hcurve::header_libraries carries that folder and FMT_HEADER_ONLY.
find_path(HCURVE_FMT_INCLUDE fmt/format.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
    DOC "The folder holding fmt/ (libfmt-dev)")
find_path(HCURVE_FAST_FLOAT_INCLUDE fast_float/fast_float.h PATHS /usr/include
    NO_CMAKE_FIND_ROOT_PATH DOC "The folder holding fast_float/ (libfast-float-dev)")
if(NOT HCURVE_FMT_INCLUDE OR NOT HCURVE_FAST_FLOAT_INCLUDE)
    message(FATAL_ERROR "fmt and fast_float are needed: tools/setup.sh installs them "
        "(libfmt-dev, libfast-float-dev)")
endif()
set(hcurve_header_folder ${PROJECT_BINARY_DIR}/header_libraries)
file(MAKE_DIRECTORY ${hcurve_header_folder})
file(CREATE_LINK ${HCURVE_FMT_INCLUDE}/fmt ${hcurve_header_folder}/fmt SYMBOLIC)
file(CREATE_LINK ${HCURVE_FAST_FLOAT_INCLUDE}/fast_float ${hcurve_header_folder}/fast_float
    SYMBOLIC)
add_library(hcurve_header_libraries INTERFACE)
add_library(hcurve::header_libraries ALIAS hcurve_header_libraries)
target_include_directories(hcurve_header_libraries SYSTEM INTERFACE ${hcurve_header_folder})
target_compile_definitions(hcurve_header_libraries INTERFACE FMT_HEADER_ONLY)
