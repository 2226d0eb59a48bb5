#include "window/qt_user_port.h"

#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QString>
#include <QWidget>

#include "layout/window_layout.h"
#include "window/main_window.h"

namespace hcurve {

namespace {

// Long prompts wrap inside a dialog of this width instead of stretching it across the screen;
// the dialog stays narrower than the title area left of the sign diagram.
constexpr int kPromptWidthPixels = 500;

// A dialog found this far from where it was put was moved by the user; window managers shift a
// placed frame by a few pixels at most.
constexpr int kMovedPixels = 24;

}  // namespace

QtUserPort::QtUserPort(MainWindow& window) : window_(window) {}

QPoint QtUserPort::dialogPosition() const {
    return movedTo_ ? *movedTo_ : window_.dialogAnchor();
}

int QtUserPort::runDialog(QDialog& dialog) {
    dialog.setWindowTitle(QString::fromUtf8(layout::kWindowTitle));
    dialog.adjustSize();
    QPoint placed = dialogPosition();
    // Keep the whole dialog on the screen.
    if (QScreen* screen = window_.screen()) {
        const QRect room = screen->availableGeometry();
        placed.setX(std::max(room.left(), std::min(placed.x(), room.right() - dialog.width())));
        placed.setY(std::max(room.top(), std::min(placed.y(), room.bottom() - dialog.height())));
    }
    dialog.move(placed);
    const int result = wait(dialog);
    if ((dialog.pos() - placed).manhattanLength() > kMovedPixels) {
        movedTo_ = dialog.pos();
    }
    return result;
}

int QtUserPort::wait(QDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    // A tool window's message may come while a command's question is open: that one is the open
    // dialog again once the message is read.
    const QPointer<QDialog> outer = open_;
    open_ = &dialog;
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    // The loop also repaints the window, so whatever a command wrote before asking is on screen
    // while the question is open. Ending the program ends the loop too.
    loop.exec();
    open_ = outer;
    dialog.hide();
    return dialog.result();
}

int QtUserPort::waitFor(QDialog& dialog) {
    if (ending_) {
        throw InputEnded{};
    }
    const int result = wait(dialog);
    if (ending_) {
        throw InputEnded{};
    }
    return result;
}

std::string QtUserPort::ask(const std::string& prompt) {
    if (ending_) {
        throw InputEnded{};
    }
    if (asker_) {
        return asker_(prompt);
    }
    QInputDialog dialog(&window_);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString());
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(kPromptWidthPixels);
    }
    const int result = runDialog(dialog);
    if (ending_) {
        throw InputEnded{};
    }
    if (result != QDialog::Accepted) {
        throw Cancelled{};
    }
    return dialog.textValue().toStdString();
}

void QtUserPort::endQuestions() {
    ending_ = true;
    if (open_) {
        open_->reject();
    }
}

void QtUserPort::setField(Field field, const std::string& text) {
    window_.setFieldText(field, QString::fromStdString(text));
}

void QtUserPort::setCaption(Label label, const std::string& caption) {
    window_.setCaption(label, QString::fromStdString(caption));
}

void QtUserPort::showMessage(const std::string& message) {
    show(message, MessageKind::Notice);
}

void QtUserPort::showError(const std::string& message) {
    show(message, MessageKind::Error);
}

void QtUserPort::tell(QWidget& owner, const std::string& message) {
    if (ending_) {
        return;
    }
    if (messageSink_) {
        messageSink_(message);
        return;
    }
    QPointer<QWidget> focused = owner.focusWidget();
    QMessageBox box(QMessageBox::Information, QString(), QString::fromStdString(message),
                    QMessageBox::Ok, &owner);
    box.setWindowTitle(owner.windowTitle());
    box.adjustSize();
    box.move(owner.frameGeometry().center() - box.rect().center());
    wait(box);
    if (ending_) {
        return;
    }
    owner.raise();
    owner.activateWindow();
    if (focused) {
        focused->setFocus();
    }
}

void QtUserPort::show(const std::string& message, MessageKind kind) {
    if (ending_) {
        return;
    }
    if (messageSink_) {
        messageSink_(message);
        return;
    }
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Warning : QMessageBox::Information,
                    QString(), QString::fromStdString(message), QMessageBox::Ok, &window_);
    runDialog(box);
}

}  // namespace hcurve
