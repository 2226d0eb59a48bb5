// Renders the main window after the right-hand example curve to a PNG, and lists every caption
// and field text that is wider or taller than its box. Used by tools/screenshot.sh.
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window_test_support.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
        return 2;
    }
    hcurve::MainWindow window;
    window.showMaximized();
    // Without a window manager nothing maximises the window: give it the screen.
    window.setGeometry(window.screen()->availableGeometry());
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    {
        hcurve::testing::ScriptedUser user(window, hcurve::testing::rightHandCurveAnswers("n"));
        window.run(hcurve::Command::DesignEntry);
    }
    QTest::qWait(200);

    for (QLabel* label : window.canvas()->findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        const int needed = metrics.horizontalAdvance(label->text());
        if (needed > label->width() || metrics.height() > label->height()) {
            std::printf("%s \"%s\": text %d x %d px, box %d x %d px\n",
                        qPrintable(label->objectName()), qPrintable(label->text()), needed,
                        metrics.height(), label->width(), label->height());
        }
    }
    for (QLineEdit* field : window.canvas()->findChildren<QLineEdit*>()) {
        const QFontMetrics metrics(field->font());
        const int needed = metrics.horizontalAdvance(field->text());
        // The edit frame and its text margins take about 6 pixels of the width.
        if (needed > field->width() - 6) {
            std::printf("%s \"%s\": text %d px, box %d px\n", qPrintable(field->objectName()),
                        qPrintable(field->text()), needed, field->width());
        }
    }
    std::printf("window %d x %d px at %d dpi; fonts: label %s, heading %s\n", window.width(),
                window.height(), window.logicalDpiX(),
                qPrintable(QFontInfo(window.label(hcurve::Label::JdNumber)->font()).family()),
                qPrintable(QFontInfo(window.label(hcurve::Label::Title)->font()).family()));
    // The maximised window is cyan beyond the design: keep the design's part.
    const QRect design(QPoint(0, 0), window.canvas()->size());
    if (!window.grab(design).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
