// The program's Qt part as main() loads it (libhcurve-qt.so): the window's start, and the drawing
// the console asks for. Only the entry below is exported; every other symbol stays inside.
#include "window/qt_module.h"

#include <QApplication>
#include <clocale>

#include "window/drawing_without_display.h"
#include "window/main_window.h"
#include "window/qt_chinese.h"

namespace hcurve {
namespace {

int runWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    installQtChinese(application);
    // Qt adopts the user's locale for the C library; numbers are read and written in the C
    // form whatever the desktop language.
    std::setlocale(LC_NUMERIC, "C");
    MainWindow window;
    window.showMaximized();
    return application.exec();
}

const QtModule kModule{HCURVE_VERSION, runWindow, savePlanWithoutDisplay,
                       saveStakeReportWithoutDisplay, saveSectionSheetsWithoutDisplay};

}  // namespace
}  // namespace hcurve

#ifdef _WIN32
#define HCURVE_EXPORTED __declspec(dllexport)
#else
#define HCURVE_EXPORTED __attribute__((visibility("default")))
#endif

extern "C" HCURVE_EXPORTED const hcurve::QtModule* hcurve_qt_module() {
    return &hcurve::kModule;
}
