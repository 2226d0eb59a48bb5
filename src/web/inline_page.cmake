# Writes the page's styles and scripts into its shell: the line "<!-- page styles -->" becomes one
# <style> element per file of STYLES, "<!-- page scripts -->" one <script> element per file of
# SCRIPTS. Run with cmake -P; TEMPLATE, STYLES, SCRIPTS and OUTPUT are given with -D.
file(READ ${TEMPLATE} page)
set(styles "")
foreach(style IN LISTS STYLES)
    file(READ ${style} text)
    string(APPEND styles "<style>\n${text}</style>\n")
endforeach()
set(scripts "")
foreach(script IN LISTS SCRIPTS)
    file(READ ${script} text)
    string(APPEND scripts "<script>\n${text}</script>\n")
endforeach()
string(REPLACE "<!-- page styles -->" "${styles}" page "${page}")
string(REPLACE "<!-- page scripts -->" "${scripts}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
