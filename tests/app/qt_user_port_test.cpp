// The user port with its real dialogs: a modal input dialog answered by typing, Cancel and
// closing give the empty text, and a message waits in a modal box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

// Runs the action on the dialog once it is open and modal.
void whenModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(1);
}

class QtUserPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The offscreen screen is smaller than the design: make room for all of it.
        window.resize(window.canvas()->size());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    MainWindow window;
};

TEST_F(QtUserPortTest, TheUserTypesTheAnswerAndPressesEnter) {
    const std::string prompt = "请输入交点桩号 : ( 以米为单位 ) ";
    QString label, startText, title;
    bool modal = false;
    whenModal([&](QWidget* widget) {
        auto* dialog = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        label = dialog->labelText();
        startText = dialog->textValue();
        title = dialog->windowTitle();
        modal = dialog->isModal();
        auto* edit = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(edit, "12345.678");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(window.userPort().ask(prompt), "12345.678");
    EXPECT_EQ(label.toStdString(), prompt);
    EXPECT_EQ(startText, QString());
    EXPECT_EQ(title, QString());
    EXPECT_TRUE(modal);
}

TEST_F(QtUserPortTest, OkReturnsTheTypedChineseText) {
    whenModal([](QWidget* widget) {
        auto* dialog = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("左侧"));
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                button->click();
            }
        }
    });
    EXPECT_EQ(window.userPort().ask("?"), "左侧");
}

TEST_F(QtUserPortTest, EscapeCancelsWithTheEmptyText) {
    whenModal([](QWidget* widget) {
        auto* edit = widget->findChild<QLineEdit*>();
        QTest::keyClicks(edit, "500");
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    EXPECT_EQ(window.userPort().ask("请输入平曲线的半径 : ( 以米为单位 ) "), "");
}

TEST_F(QtUserPortTest, ClosingTheDialogGivesTheEmptyText) {
    whenModal([](QWidget* widget) {
        QTest::keyClicks(widget->findChild<QLineEdit*>(), "7");
        widget->close();
    });
    EXPECT_EQ(window.userPort().ask("输入正确的半径 :"), "");
}

TEST_F(QtUserPortTest, APromptOfSeveralLinesIsShownWhole) {
    const std::string prompt = "第一行\n第二行\n第三行";
    QString label;
    whenModal([&](QWidget* widget) {
        label = widget->findChild<QLabel*>()->text();
        QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    EXPECT_EQ(window.userPort().ask(prompt), "");
    EXPECT_EQ(label.toStdString(), prompt);
}

TEST_F(QtUserPortTest, TheWindowIsBlockedAndShowsFieldsWrittenBeforeTheQuestion) {
    window.userPort().setField(Field::Text1, "  JD1");
    QString shown;
    whenModal([&](QWidget* widget) {
        // A click on the end button, delivered as the window system would, is refused while
        // the dialog is open.
        QPushButton* end = window.button(layout::Button::command3);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          end->mapTo(&window, end->rect().center()));
        shown = window.field(Field::Text1)->text();
        QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    window.userPort().ask("确认交点点号输入是否正确 ?");
    EXPECT_EQ(shown, QStringLiteral("  JD1"));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(QtUserPortTest, AMessageWaitsInAModalBox) {
    QString text;
    bool modal = false;
    whenModal([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        text = box->text();
        modal = box->isModal();
        QTest::keyClick(box, Qt::Key_Return);
    });
    window.userPort().showMessage("尚无曲线计算结果：请先点击“开始计算”输入设计数据。");
    EXPECT_EQ(text, QStringLiteral("尚无曲线计算结果：请先点击“开始计算”输入设计数据。"));
    EXPECT_TRUE(modal);
}

}  // namespace
}  // namespace hcurve
