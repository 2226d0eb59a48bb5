# Makes the installable site from the page: cmake -DPAGE=hcurve.html -DSITE=out/site
#   -DSOURCE=data/site -DICON=data/hcurve.svg -DRSVG=rsvg-convert -P make_site.cmake
# index.html is the page with the manifest, the icon and the service worker's registration put
# into its head (the page opened from a file stays as it is: a file:// page has no worker);
# sw.js caches it; the icons are drawn from the desktop icon.
foreach(var PAGE SITE SOURCE ICON RSVG)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "make_site.cmake: -D${var}= is missing")
    endif()
endforeach()

file(READ ${PAGE} page)
string(FIND "${page}" "</head>" head_end)
if(head_end LESS 0)
    message(FATAL_ERROR "make_site.cmake: ${PAGE} has no </head> to put the site's links before")
endif()
file(READ ${SOURCE}/head.html head)
string(SUBSTRING "${page}" 0 ${head_end} before)
string(SUBSTRING "${page}" ${head_end} -1 after)
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/index.html.new "${before}${head}${after}")
file(RENAME ${SITE}/index.html.new ${SITE}/index.html)

file(SHA256 ${SITE}/index.html HCURVE_SITE_VERSION)
string(SUBSTRING ${HCURVE_SITE_VERSION} 0 16 HCURVE_SITE_VERSION)
configure_file(${SOURCE}/service_worker.js.in ${SITE}/sw.js @ONLY)
configure_file(${SOURCE}/manifest.webmanifest ${SITE}/manifest.webmanifest COPYONLY)
configure_file(${ICON} ${SITE}/icon.svg COPYONLY)
foreach(size 192 512)
    execute_process(COMMAND ${RSVG} -w ${size} -h ${size} -o ${SITE}/icon-${size}.png ${ICON}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "make_site.cmake: ${RSVG} could not draw icon-${size}.png (${status})")
    endif()
endforeach()
