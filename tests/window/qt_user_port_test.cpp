// The user port with its real dialogs: an input dialog answered by typing, Esc, Cancel and closing
// leave the question, a message waits in its box, and the dialogs speak Chinese, carry the
// program's name and stand clear of the fields.
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
#include <map>
#include <vector>

#include "window/main_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

// Runs the action on the dialog once it is open.
void whenModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget* modal = testing::openDialog();
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

// The dialog shows the whole prompt over an empty line, in Chinese and under the program's name;
// the answer is what the user typed, pressing Enter or 确定.
TEST_F(QtUserPortTest, TheUserTypesTheAnswerAndPressesEnterOrOk) {
    const auto pressEnter = [](QInputDialog* dialog, const char* typed) {
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QString::fromUtf8(typed));
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    };
    const auto pressOk = [](QInputDialog* dialog, const char* typed) {
        dialog->setTextValue(QString::fromUtf8(typed));
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isDefault())
                button->click();
        }
    };
    const struct {
        std::string prompt;
        const char* typed;
        std::function<void(QInputDialog*, const char*)> answer;
    } cases[] = {
        {"请输入交点桩号 : ( 以米为单位 ) ", "12345.678", pressEnter},
        {"?", "左侧", pressOk},
        {"第一行\n第二行\n第三行", "", pressEnter},
    };
    for (const auto& c : cases) {
        QString label, startText, title;
        QStringList buttons;
        whenModal([&](QWidget* widget) {
            auto* dialog = qobject_cast<QInputDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            label = dialog->labelText();
            startText = dialog->textValue();
            title = dialog->windowTitle();
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                buttons << button->text().remove(QLatin1Char('&'));
            c.answer(dialog, c.typed);
        });
        EXPECT_EQ(window.userPort().ask(c.prompt), c.typed);
        EXPECT_EQ(label.toStdString(), c.prompt);
        EXPECT_EQ(startText, QString());
        EXPECT_EQ(title, QStringLiteral("平曲线计算"));
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    }
}

// Every way out of the dialog leaves the question.
TEST_F(QtUserPortTest, EscapeCancelAndClosingLeaveTheQuestion) {
    const std::vector<std::function<void(QWidget*)>> ways = {
        [](QWidget* widget) {
            QTest::keyClicks(widget->findChild<QLineEdit*>(), "500");
            QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Escape);
        },
        [](QWidget* widget) {
            QTest::keyClicks(widget->findChild<QLineEdit*>(), "500");
            for (QPushButton* button : widget->findChildren<QPushButton*>()) {
                if (!button->isDefault())
                    button->click();
            }
        },
        [](QWidget* widget) {
            QTest::keyClicks(widget->findChild<QLineEdit*>(), "7");
            widget->close();
        },
    };
    for (std::size_t way = 0; way < ways.size(); ++way) {
        whenModal(ways[way]);
        EXPECT_THROW(window.userPort().ask("请输入平曲线的半径 : ( 以米为单位 ) "), Cancelled)
            << way;
    }
}

// The dialog opens in the title area, clear of every field; moved by the user, the next one
// opens where the user put it.
TEST_F(QtUserPortTest, TheDialogStandsClearOfTheFieldsAndKeepsWhereTheUserPutIt) {
    QRect first, second;
    const QPoint moved = window.dialogAnchor() + QPoint(150, 40);
    whenModal([&](QWidget* widget) {
        first = widget->frameGeometry();
        widget->move(moved);
        QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    window.userPort().ask(
        "确认交点纵座标输入是否正确 ?  输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )");
    for (QLineEdit* field : window.canvas()->findChildren<QLineEdit*>()) {
        const QRect onScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
        EXPECT_FALSE(first.intersects(onScreen)) << field->objectName().toStdString();
    }
    whenModal([&](QWidget* widget) {
        second = widget->frameGeometry();
        QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    window.userPort().ask("确认交点横座标输入是否正确 ?");
    EXPECT_EQ(second.topLeft(), moved);
}

// While a question is open the other commands are refused, and what the command wrote before
// asking is on screen.
TEST_F(QtUserPortTest, WhileAQuestionIsOpenOnlyTheEndButtonTakesClicks) {
    QString shown;
    std::map<layout::Button, bool> enabled;
    whenModal([&](QWidget* widget) {
        shown = window.field(Field::JdNumber)->text();
        for (const layout::ButtonLayout& row : layout::kButtons)
            enabled[row.button] = window.button(row.button)->isEnabled();
        widget->findChild<QLineEdit*>()->setText(QStringLiteral("0"));
        QTest::keyClick(widget->findChild<QLineEdit*>(), Qt::Key_Escape);
    });
    testing::ScriptedUser none(window, {});
    window.userPort().setAsker({});
    // 开始计算 asks its first question; leaving it ends the command.
    QTest::mouseClick(window.button(layout::Button::DesignEntry), Qt::LeftButton);
    EXPECT_EQ(shown, QString());
    EXPECT_EQ(enabled, (std::map<layout::Button, bool>{{layout::Button::DesignEntry, false},
                                                       {layout::Button::StakeRun, false},
                                                       {layout::Button::Print, false},
                                                       {layout::Button::End, true}}));
    EXPECT_TRUE(window.button(layout::Button::DesignEntry)->isEnabled());
}

TEST_F(QtUserPortTest, NoticesAndErrorsWaitInTheirBoxes) {
    struct Seen {
        QString text, title;
        QMessageBox::Icon icon;
        QString button;
    };
    std::vector<Seen> seen;
    auto read = [&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        seen.push_back({box->text(), box->windowTitle(), box->icon(),
                        box->buttons().front()->text().remove(QLatin1Char('&'))});
        QTest::keyClick(box, Qt::Key_Return);
    };
    whenModal(read);
    window.userPort().showMessage("尚无曲线计算结果：请先点击“开始计算”输入设计数据。");
    whenModal(read);
    window.userPort().showError("交点桩号 K 不能为空。");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, QStringLiteral("尚无曲线计算结果：请先点击“开始计算”输入设计数据。"));
    EXPECT_EQ(seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(seen[1].text, QStringLiteral("交点桩号 K 不能为空。"));
    EXPECT_EQ(seen[1].icon, QMessageBox::Warning);
    for (const Seen& box : seen) {
        EXPECT_EQ(box.title, QStringLiteral("平曲线计算"));
        EXPECT_EQ(box.button, QStringLiteral("确定"));
    }
}

}  // namespace
}  // namespace hcurve
