# Writes the page: in the shell TEMPLATE the line "<!-- page styles -->" becomes one <style>
# element per file of STYLES, "<!-- page module -->" the module's script MODULE (its WebAssembly
# in base64 in an element of its own before it, id hcurve-wasm), and
# "<!-- page scripts -->" one <script> element per file of SCRIPTS. Run with cmake -P; TEMPLATE,
# STYLES, SCRIPTS (files with "|" between them), MODULE and OUTPUT are given with -D.
string(REPLACE "|" ";" STYLES "${STYLES}")
string(REPLACE "|" ";" SCRIPTS "${SCRIPTS}")
file(READ ${TEMPLATE} page)
set(styles "")
foreach(style IN LISTS STYLES)
    file(READ ${style} text)
    string(APPEND styles "<style>\n${text}</style>\n")
endforeach()
# A script holding "</script" would end its element early.
# (The text is passed by the name of its variable: a ";" in it would split an argument.)
function(check_script file variable)
    string(FIND "${${variable}}" "</script" closing)
    if(NOT closing EQUAL -1)
        message(FATAL_ERROR "${file} holds \"</script\", which would end its element early")
    endif()
endfunction()
set(scripts "")
foreach(script IN LISTS SCRIPTS)
    file(READ ${script} text)
    check_script(${script} text)
    string(APPEND scripts "<script>\n${text}</script>\n")
endforeach()
file(READ ${MODULE} module)
check_script(${MODULE} module)
# The WebAssembly leaves the module's script for an element of its own, which the page decodes
# and hands to the module (common.js): the module's own way, a fetch of its data: URL, takes over
# a second in Chromium, decoding it takes some 50 ms.
set(prefix "wasmBinaryFile=\"data:application/octet-stream;base64,")
string(FIND "${module}" "${prefix}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${MODULE} holds no WebAssembly as a data: URL")
endif()
string(LENGTH "${prefix}" prefix_length)
math(EXPR from "${at} + ${prefix_length}")
string(SUBSTRING "${module}" 0 ${from} before)
string(SUBSTRING "${module}" ${from} -1 rest)
string(FIND "${rest}" "\"" end)
string(SUBSTRING "${rest}" 0 ${end} wasm)
string(SUBSTRING "${rest}" ${end} -1 after)
set(module "${before}${after}")
string(REPLACE "<!-- page styles -->" "${styles}" page "${page}")
string(REPLACE "<!-- page module -->"
    "<script type=\"application/octet-stream\" id=\"hcurve-wasm\">${wasm}</script>\n<script>\n${module}</script>"
    page "${page}")
string(REPLACE "<!-- page scripts -->" "${scripts}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
