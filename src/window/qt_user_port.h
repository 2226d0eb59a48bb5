// The user port realised with Qt: questions in an input dialog in the window's free title area,
// field texts and captions straight into the window's controls, messages in a message box.
//
// The dialogs block the command that asks, not the window: while one is open the other commands
// are refused, but 结 束 and the window's close button still end the program.
#pragma once

#include <QPoint>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "port/user_port.h"

class QDialog;
class QWidget;

namespace hcurve {

class MainWindow;

class QtUserPort : public UserPort {
  public:
    /// Answers a prompt in place of the dialog (tests script the user with it; it may throw
    /// Cancelled as a user leaving the dialog would).
    using Asker = std::function<std::string(const std::string& prompt)>;
    /// Receives a message in place of the message box.
    using MessageSink = std::function<void(const std::string& message)>;

    explicit QtUserPort(MainWindow& window);

    /// Esc, Cancel or closing the dialog throw Cancelled.
    std::string ask(const std::string& prompt) override;
    void setField(Field field, const std::string& text) override;
    void setCaption(Label label, const std::string& caption) override;
    void showMessage(const std::string& message) override;
    void showError(const std::string& message) override;

    /// A message of a tool window (中桩成果表, 平面图): its box belongs to that window and stands
    /// over it, and the window is in front with its focus back once the box is closed, so that
    /// nothing typed next reaches the main window.
    void tell(QWidget& owner, const std::string& message);

    /// Replaces the input dialog; an empty function brings the dialog back.
    void setAsker(Asker asker) { asker_ = std::move(asker); }
    /// Replaces the message box; an empty function brings the box back.
    void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    /// Shows a dialog of the window's own (the file dialog) where it places itself, and waits
    /// until it is finished; its result. Throws InputEnded when the program ends meanwhile.
    int waitFor(QDialog& dialog);

    /// The program is ending: the open dialog closes, and any later question throws InputEnded.
    void endQuestions();

    /// Where the next dialog's frame goes, in global coordinates: where the user last moved a
    /// dialog to, or else the window's free title area.
    QPoint dialogPosition() const;

  private:
    enum class MessageKind { Notice, Error };
    void show(const std::string& message, MessageKind kind);
    /// Shows the dialog at its place in the title area and waits until it is finished.
    int runDialog(QDialog& dialog);
    int wait(QDialog& dialog);

    MainWindow& window_;
    Asker asker_;
    MessageSink messageSink_;
    QPointer<QDialog> open_;
    std::optional<QPoint> movedTo_;
    bool ending_ = false;
};

}  // namespace hcurve
