// The user port realised with Qt: questions in a modal input dialog over the main window, field
// texts and captions straight into the window's controls, messages in a modal message box.
#pragma once

#include <functional>
#include <string>

#include "port/user_port.h"

namespace hcurve {

class MainWindow;

class QtUserPort : public UserPort {
  public:
    /// Answers a prompt in place of the dialog (tests script the user with it).
    using Asker = std::function<std::string(const std::string& prompt)>;
    /// Receives a message in place of the message box.
    using MessageSink = std::function<void(const std::string& message)>;

    explicit QtUserPort(MainWindow& window);

    std::string ask(const std::string& prompt) override;
    void setField(Field field, const std::string& text) override;
    void setCaption(Label label, const std::string& caption) override;
    void showMessage(const std::string& message) override;

    /// Replaces the input dialog; an empty function brings the dialog back.
    void setAsker(Asker asker) { asker_ = std::move(asker); }
    /// Replaces the message box; an empty function brings the box back.
    void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

  private:
    MainWindow& window_;
    Asker asker_;
    MessageSink messageSink_;
};

}  // namespace hcurve
