#include "app/qt_user_port.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QString>

#include "app/main_window.h"

namespace hcurve {

namespace {

// Long prompts wrap inside a dialog of this width instead of stretching it across the screen.
constexpr int kPromptWidthPixels = 480;

}  // namespace

QtUserPort::QtUserPort(MainWindow& window) : window_(window) {}

std::string QtUserPort::ask(const std::string& prompt) {
    if (asker_) {
        return asker_(prompt);
    }
    QInputDialog dialog(&window_);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QString());
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString());
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(kPromptWidthPixels);
    }
    // The event loop of exec() also repaints the window, so whatever a command wrote before
    // asking is on screen while the question is open.
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}

void QtUserPort::setField(Field field, const std::string& text) {
    window_.setFieldText(field, QString::fromStdString(text));
}

void QtUserPort::setCaption(Label label, const std::string& caption) {
    window_.setCaption(label, QString::fromStdString(caption));
}

void QtUserPort::showMessage(const std::string& message) {
    if (messageSink_) {
        messageSink_(message);
        return;
    }
    QMessageBox box(QMessageBox::Information, QString(), QString::fromStdString(message),
                    QMessageBox::Ok, &window_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace hcurve
