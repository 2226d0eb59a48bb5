// The user port realised by the page: a question opens the page's question dialog and the command
// waits for its answer (Asyncify), field texts and captions go straight into the page's controls,
// messages into its message dialog. The port keeps what the page shows, so that a command the
// user leaves can put every field and caption back.
#pragma once

#include <array>
#include <string>

#include "port/user_port.h"

namespace hcurve::web {

/// What the page shows: every field's text and every label's caption.
struct Shown {
    std::array<std::string, kFieldCount> fields;
    std::array<std::string, kLabelCount> captions;
};

class WebPort : public UserPort {
  public:
    /// The page as it opens: empty fields, the layout's captions.
    WebPort();

    /// Waits for the page's question dialog: its answer; Esc, 取消 or closing the dialog throw
    /// Cancelled, 结 束 while the question is open throws InputEnded.
    std::string ask(const std::string& prompt) override;
    /// A stake shown takes the place of the one before it, side points included, as in the
    /// desktop window: the side groups show only points of the stake beside them.
    void setField(Field field, const std::string& text) override;
    void setCaption(Label label, const std::string& caption) override;
    void showMessage(const std::string& message) override;
    void showError(const std::string& message) override;

    const Shown& shown() const { return shown_; }
    /// Puts back what the page showed before (a command the user left).
    void restore(const Shown& before);

  private:
    void message(const std::string& text, bool error);
    Shown shown_;
};

/// The page's answer to a question, as the page's dialog hands it over: 'A' and the answer,
/// 'C' (left), or 'E' (the session ended).
struct PageAnswer {
    enum class Kind { Answer, Cancelled, Ended } kind;
    std::string text;
};
PageAnswer parsePageAnswer(const char* raw);

}  // namespace hcurve::web
