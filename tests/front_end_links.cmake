# The front ends link no other front end, and the rooms they share reach no Qt. GRAPH is the file
# cmake/link_graph.cmake wrote: for each checked target, reach_TARGET, what it links all the way
# down. Usage: cmake -DGRAPH=link_graph.cmake -P front_end_links.cmake
cmake_minimum_required(VERSION 3.25)
include(${GRAPH})

# Each front end with its targets: the console, the window (its library and the Qt part the
# program loads), the browser page's module, the route command and main().
set(console hcurve_console)
set(window hcurve_window hcurve_qt)
set(web hcurve_module)
set(route_cli hcurve_route_cli)
set(main hcurve)
set(front_ends console window web route_cli main)
# What a front end may link of another: main() starts the console and the route command (the
# window it loads when shown, never links), and the browser page runs the route command on its
# files in-process, so that each table and download is byte for byte what the command writes.
set(allowed_main console route_cli)
set(allowed_web route_cli)

set(faults)
foreach(front IN LISTS front_ends)
    foreach(target IN LISTS ${front})
        if(NOT target IN_LIST checked)
            continue()
        endif()
        foreach(other IN LISTS front_ends)
            if(other STREQUAL front OR other IN_LIST allowed_${front})
                continue()
            endif()
            foreach(linked IN LISTS ${other})
                if(linked IN_LIST reach_${target})
                    list(APPEND faults "${target} (${front}) links ${linked} (${other})")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

# The shared layout room: no Qt and no front end below it.
if(hcurve_layout IN_LIST checked)
    foreach(linked IN LISTS reach_hcurve_layout)
        if(linked MATCHES "^Qt" OR linked MATCHES "^hcurve_(views|window|qt|console|route_cli|module)$")
            list(APPEND faults "hcurve_layout links ${linked}")
        endif()
    endforeach()
else()
    list(APPEND faults "hcurve_layout is missing from ${GRAPH}")
endif()

if(faults)
    list(JOIN faults "\n  " listed)
    message(FATAL_ERROR "Links that cross the layering:\n  ${listed}")
endif()
