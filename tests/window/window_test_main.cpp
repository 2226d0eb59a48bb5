// The window tests need a QApplication; they run on Qt's offscreen platform unless the caller
// chose another one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>
#include <clocale>

#include "window/qt_chinese.h"

namespace {

// Every test starts from no settings: a view size, a route form or "open the last curve" that
// one test keeps must not reach the next, nor the next run.
class FreshSettings : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        QSettings(QStringLiteral("hcurve"), QStringLiteral("hcurve")).clear();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The view's choice is kept in the test's own settings, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication application(argc, argv);
    hcurve::installQtChinese(application);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
    return RUN_ALL_TESTS();
}
