// A user port for tests: answers come from a script, and everything the commands show is kept
// as a transcript, one line per event ("? prompt", "ZhChainage\ttext", "caption
// HyChainage\tcaption",
// "! message"), together with the current text of every field and caption.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "port/user_port.h"

namespace hcurve::testing {

class ScriptedPort : public UserPort {
  public:
    ScriptedPort() = default;
    explicit ScriptedPort(std::vector<std::string> answers) { script(std::move(answers)); }

    /// An answer in the script that leaves the question, as Esc or Cancel in the window do.
    static inline const std::string kCancel{"\x18(cancel)"};

    /// Appends answers to the script.
    void script(const std::vector<std::string>& answers) {
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }

    std::string ask(const std::string& prompt) override {
        transcript.push_back("? " + prompt);
        prompts.push_back(prompt);
        if (answers_.empty())
            throw InputEnded{};
        std::string answer = answers_.front();
        answers_.pop_front();
        if (answer == kCancel)
            throw Cancelled{};
        return answer;
    }
    void setField(Field field, const std::string& text) override {
        transcript.push_back(fieldName(field) + "\t" + text);
        fields[field] = text;
    }
    void setCaption(Label label, const std::string& caption) override {
        transcript.push_back("caption " + labelName(label) + "\t" + caption);
        captions[label] = caption;
    }
    void showMessage(const std::string& message) override {
        transcript.push_back("! " + message);
        messages.push_back(message);
    }

    /// The field's text; "" when never set.
    std::string field(Field f) const {
        auto it = fields.find(f);
        return it == fields.end() ? "" : it->second;
    }
    /// True when the label's caption was set; caption(l) then gives it.
    bool captionSet(Label l) const { return captions.count(l) > 0; }
    std::string caption(Label l) const {
        auto it = captions.find(l);
        return it == captions.end() ? "" : it->second;
    }
    std::size_t answersLeft() const { return answers_.size(); }
    void clearTranscript() {
        transcript.clear();
        prompts.clear();
        messages.clear();
    }

    std::vector<std::string> transcript;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    std::map<Field, std::string> fields;
    std::map<Label, std::string> captions;

  private:
    std::deque<std::string> answers_;
};

}  // namespace hcurve::testing
