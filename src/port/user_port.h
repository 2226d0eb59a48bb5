// The one small interface through which the commands see the user. The Qt window and the console
// front end realise it; tests realise it with scripted answers.
#pragma once

#include <string>

#include "port/controls.h"

namespace hcurve {

/// Thrown by ask() when the user's input has ended (the console's standard input closed): the
/// program ends at once, as after the end command.
struct InputEnded {};

class UserPort {
  public:
    virtual ~UserPort() = default;

    /// Shows the prompt (it may hold several lines) with an empty answer line and returns the
    /// text the user typed; the empty text when the user cancels.
    virtual std::string ask(const std::string& prompt) = 0;

    /// Replaces the whole text of an output field; visible at once.
    virtual void setField(Field field, const std::string& text) = 0;

    /// Replaces the caption of a label; visible at once.
    virtual void setCaption(Label label, const std::string& caption) = 0;

    /// Tells the user something went wrong with an answer or a command, and waits until it is read.
    virtual void showMessage(const std::string& message) = 0;
};

}  // namespace hcurve
