#include "window_test_support.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace hcurve::testing {

ScriptedUser::ScriptedUser(MainWindow& window, std::vector<std::string> answers)
    : window_(window), answers_(answers.begin(), answers.end()) {
    window_.userPort().setAsker([this](const std::string& prompt) {
        prompts_.push_back(prompt);
        if (observer_) {
            observer_(prompt);
        }
        if (answers_.empty()) {
            // A question that wants a number asks again after the empty answer: leave it after
            // a while rather than answer for ever.
            if (++unexpected_ > kMaxUnexpected) {
                throw Cancelled{};
            }
            return std::string();
        }
        std::string answer = answers_.front();
        answers_.pop_front();
        if (answer == kCancel) {
            throw Cancelled{};
        }
        return answer;
    });
    window_.userPort().setMessageSink(
        [this](const std::string& message) { messages_.push_back(message); });
}

ScriptedUser::~ScriptedUser() {
    window_.userPort().setAsker({});
    window_.userPort().setMessageSink({});
}

void ScriptedUser::add(const std::vector<std::string>& answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

DialogTypist::DialogTypist(QStringList answers) : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, &DialogTypist::look);
    timer_.start(1);
}

QDialog* openDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void DialogTypist::look() {
    QWidget* modal = openDialog();
    if (modal == nullptr || !modal->isVisible() || modal->property("answered").toBool()) {
        return;
    }
    modal->setProperty("answered", true);
    if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
        prompts_.append(dialog->labelText());
        if (observer_) {
            observer_(dialog->labelText());
        }
        const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
        auto* edit = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(edit, answer);
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages_.append(box->text());
        QTest::keyClick(box, Qt::Key_Return);
    }
}

std::vector<std::string> rightHandCurveAnswers(const std::string& sidePoints) {
    return {"1",           "",  // JD
            "12345.678",   "",  // K
            "3456789.123", "",  // X
            "512345.678",  "",  // Y
            "45.3015",     "",  // T
            "30.1530",     "",  // B
            "500",         "",  // R
            "200",         "",  // A1
            "250",         "",  // A2
            sidePoints};
}

std::vector<std::string> leftHandCurveWithoutSpiralsAnswers() {
    return {"2",   "", "2500", "", "1000", "", "2000", "", "120", "",
            "-45", "", "300",  "", "0",    "", "0",    "", "n"};
}

int execAfter(std::function<void()> action) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    QTimer::singleShot(0, action);
    return QApplication::exec();
}

}  // namespace hcurve::testing
