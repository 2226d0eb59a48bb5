# Links that cross the layering, for the check of tests/front_end_links.cmake to refuse: the
# console reaching the window, the page the console, and the shared layout Qt.
set(reach_hcurve_console "hcurve_commands;hcurve_window;Qt6::Widgets")
list(APPEND checked hcurve_console)
set(reach_hcurve_module "hcurve_console;hcurve_route_cli;hcurve_commands")
list(APPEND checked hcurve_module)
set(reach_hcurve "hcurve_console;hcurve_route_cli")
list(APPEND checked hcurve)
set(reach_hcurve_layout "hcurve_commands;Qt6::Gui")
list(APPEND checked hcurve_layout)
