// The window tests need a QApplication; they run on Qt's offscreen platform unless the caller
// chose another one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QtGlobal>
#include <clocale>

#include "window/qt_chinese.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The view's choice is kept in the test's own settings, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    hcurve::installQtChinese(application);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
