// Opens the maximised main window under a real window manager, types the right-hand example curve
// into the real dialogs up to the confirmation of the JD's X, and there photographs the screen
// and checks the open dialog against the field rectangles: the value being confirmed, every
// design field and every stake and side-point field must stay uncovered. Prints what it checked;
// the status is 1 when a field is covered. Used by tools/dialog_screenshots.sh.
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window/qt_chinese.h"
#include "window_test_support.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    hcurve::installQtChinese(application);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_screenshot OUTPUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    hcurve::MainWindow window;
    window.showMaximized();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    QTest::qWait(500);  // the window manager maximises it

    int status = 1;
    const QString confirmX = QStringLiteral("确认交点纵座标输入是否正确");
    hcurve::testing::DialogTypist typist(
        {"1", "", "12345.678", "", "3456789.123", "", "512345.678", ""});
    typist.onQuestion([&](const QString& prompt) {
        if (!prompt.startsWith(confirmX)) {
            return;
        }
        QTest::qWait(500);  // the dialog is placed and painted
        QDialog* dialog = hcurve::testing::openDialog();
        const QRect frame = dialog->frameGeometry();
        QScreen* screen = window.screen();
        std::printf(
            "screen %d x %d, window %d x %d at (%d, %d), dialog frame %d x %d at (%d, %d)\n",
            screen->geometry().width(), screen->geometry().height(), window.frameGeometry().width(),
            window.frameGeometry().height(), window.frameGeometry().x(), window.frameGeometry().y(),
            frame.width(), frame.height(), frame.x(), frame.y());
        int covered = 0;
        for (QLineEdit* field : window.canvas()->findChildren<QLineEdit*>()) {
            const QRect onScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
            const bool hidden = frame.intersects(onScreen);
            covered += hidden;
            if (hidden || field->objectName() == QStringLiteral("Text3")) {
                std::printf("%s \"%s\" at (%d, %d) %d x %d: %s\n", qPrintable(field->objectName()),
                            qPrintable(field->text()), onScreen.x(), onScreen.y(), onScreen.width(),
                            onScreen.height(), hidden ? "COVERED" : "visible");
            }
        }
        std::printf("%d of %d fields covered\n", covered,
                    static_cast<int>(window.canvas()->findChildren<QLineEdit*>().size()));
        status = covered == 0 ? 0 : 1;
        if (!screen->grabWindow(0).save(out)) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            status = 1;
        }
        std::fflush(stdout);
        std::_Exit(status);
    });
    window.run(hcurve::Command::DesignEntry);
    std::fprintf(stderr, "the confirmation was never asked\n");
    return 1;
}
