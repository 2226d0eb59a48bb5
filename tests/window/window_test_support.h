// Scripted users for the window tests and the screenshot tool.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/main_window.h"
#include "window/route_window.h"

namespace hcurve::testing {

/// What the route window tells of a step that tells something (a print, an export): the text of
/// its information box; when the step failed, "! " and the text of its warning box, so that a
/// failure never reads as the same words told as done.
inline QString told(const Result<QString>& result) {
    return result ? *result : QStringLiteral("! ") + failureLines(result);
}
/// The same for a step the user may cancel (nothing told then: the empty text).
inline QString told(const Result<std::optional<QString>>& result) {
    return result ? result->value_or(QString()) : QStringLiteral("! ") + failureLines(result);
}

/// Answers the window's questions from a list, in order, without showing a dialog; records every
/// prompt. The answer kCancel leaves the question as Esc would. Once the list is used up it answers
/// with the empty text and counts the extra questions; after kMaxUnexpected of them it leaves.
class ScriptedUser {
  public:
    static inline const std::string kCancel{"\x18(cancel)"};
    static constexpr int kMaxUnexpected = 50;

    ScriptedUser(MainWindow& window, std::vector<std::string> answers);
    ~ScriptedUser();

    void add(const std::vector<std::string>& answers);
    /// Called with every prompt before it is answered, while the window shows what the command
    /// wrote so far.
    void onQuestion(std::function<void(const std::string& prompt)> observer) {
        observer_ = std::move(observer);
    }

    const std::vector<std::string>& prompts() const { return prompts_; }
    const std::vector<std::string>& messages() const { return messages_; }
    int unexpectedQuestions() const { return unexpected_; }
    std::size_t answersLeft() const { return answers_.size(); }

  private:
    MainWindow& window_;
    std::deque<std::string> answers_;
    std::function<void(const std::string&)> observer_;
    std::vector<std::string> prompts_;
    std::vector<std::string> messages_;
    int unexpected_ = 0;
};

/// The dialog the window shows now (an input dialog, a message box), or nothing.
QDialog* openDialog();

/// Runs the application's event loop until the action ends it; a watchdog ends a loop that the
/// action left running, with status 1.
int execAfter(std::function<void()> action);

/// Answers the real input dialogs by typing into them and pressing Enter, and closes message
/// boxes with Enter: it watches for the dialog the window shows.
class DialogTypist : public QObject {
  public:
    explicit DialogTypist(QStringList answers);
    /// Called with every prompt while its dialog is open, before the answer is typed.
    void onQuestion(std::function<void(const QString& prompt)> observer) {
        observer_ = std::move(observer);
    }

    const QStringList& prompts() const { return prompts_; }
    const QStringList& messages() const { return messages_; }
    int answersLeft() const { return static_cast<int>(answers_.size()); }

  private:
    void look();

    QStringList answers_;
    std::function<void(const QString&)> observer_;
    QStringList prompts_;
    QStringList messages_;
    QTimer timer_;
};

/// The design answers of the right-hand example curve (spirals 200 and 250), each value
/// confirmed with Enter, with the given answer to the side-point question.
std::vector<std::string> rightHandCurveAnswers(const std::string& sidePoints);
/// The left-hand example curve without spirals, side points off.
std::vector<std::string> leftHandCurveWithoutSpiralsAnswers();

}  // namespace hcurve::testing
