// The one small interface through which the commands see the user. The Qt window and the console
// front end realise it; tests realise it with scripted answers.
#pragma once

#include <string>

#include "port/controls.h"

namespace hcurve {

/// Thrown by ask() when the user's input has ended (the console's standard input closed, or the
/// window closed while a question was open): the program ends at once, as after the end command.
struct InputEnded {};

/// Thrown by ask() when the user leaves a question (Esc, Cancel, closing the dialog): the running
/// command ends. A command that can keep what it did so far catches it; otherwise the front end
/// puts everything back as it was before the command. The console never cancels: an empty line
/// is an empty answer there.
struct Cancelled {};

class UserPort {
  public:
    virtual ~UserPort() = default;

    /// Shows the prompt (it may hold several lines) with an empty answer line and returns the
    /// text the user typed. Throws Cancelled when the user leaves the question.
    virtual std::string ask(const std::string& prompt) = 0;

    /// Replaces the whole text of an output field; visible at once.
    virtual void setField(Field field, const std::string& text) = 0;

    /// Replaces the caption of a label; visible at once.
    virtual void setCaption(Label label, const std::string& caption) = 0;

    /// Tells the user something went wrong with an answer or a command, and waits until it is read.
    virtual void showMessage(const std::string& message) = 0;

    /// Like showMessage, for an answer or a command that went wrong; a front end may mark it as a
    /// warning. The console shows it exactly like any other message.
    virtual void showError(const std::string& message) { showMessage(message); }
};

}  // namespace hcurve
