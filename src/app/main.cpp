#include <cstring>
#include <iostream>

#include "app/console.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--console") == 0) {
        return hcurve::runConsole(std::cin, std::cout);
    }
    std::cerr << "hcurve: 窗口尚未提供，改用控制台 (--console)\n";
    return hcurve::runConsole(std::cin, std::cout);
}
