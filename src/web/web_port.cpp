#include "web/web_port.h"

#include <emscripten.h>

#include <cstdlib>

#include "layout/window_layout.h"

namespace hcurve::web {

namespace {

// The page's side of the port (web/curve.js, Module.hcurvePage). A question's answer comes back
// as one string: its kind, then the answer.
// clang-format off
EM_ASYNC_JS(char*, pageAsk, (const char* prompt), {
    const answer = await Module.hcurvePage.ask(UTF8ToString(prompt));
    const text = answer === null ? 'C' : answer === undefined ? 'E' : 'A' + answer;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_ASYNC_JS(void, pageMessage, (const char* text, int error), {
    await Module.hcurvePage.message(UTF8ToString(text), error !== 0);
});
EM_JS(void, pageSetField, (const char* field, const char* text), {
    Module.hcurvePage.setField(UTF8ToString(field), UTF8ToString(text));
});
EM_JS(void, pageSetCaption, (const char* label, const char* caption), {
    Module.hcurvePage.setCaption(UTF8ToString(label), UTF8ToString(caption));
});
// clang-format on

}  // namespace

PageAnswer parsePageAnswer(const char* raw) {
    if (raw == nullptr || raw[0] == 'E') {
        return {PageAnswer::Kind::Ended, {}};
    }
    if (raw[0] == 'C') {
        return {PageAnswer::Kind::Cancelled, {}};
    }
    return {PageAnswer::Kind::Answer, std::string(raw + 1)};
}

WebPort::WebPort() {
    for (const layout::LabelLayout& row : layout::kLabels) {
        shown_.captions[static_cast<std::size_t>(row.label)] = row.caption;
    }
}

std::string WebPort::ask(const std::string& prompt) {
    char* raw = pageAsk(prompt.c_str());
    const PageAnswer answer = parsePageAnswer(raw);
    std::free(raw);
    switch (answer.kind) {
        case PageAnswer::Kind::Cancelled:
            throw Cancelled{};
        case PageAnswer::Kind::Ended:
            throw InputEnded{};
        case PageAnswer::Kind::Answer:
            break;
    }
    return answer.text;
}

void WebPort::setField(Field field, const std::string& text) {
    shown_.fields[static_cast<std::size_t>(field)] = text;
    pageSetField(fieldName(field).c_str(), text.c_str());
    if (field == Field::StakeChainage) {
        for (Field side : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                           Field::RightX, Field::RightY}) {
            shown_.fields[static_cast<std::size_t>(side)].clear();
            pageSetField(fieldName(side).c_str(), "");
        }
    }
}

void WebPort::setCaption(Label label, const std::string& caption) {
    shown_.captions[static_cast<std::size_t>(label)] = caption;
    pageSetCaption(labelName(label).c_str(), caption.c_str());
}

void WebPort::showMessage(const std::string& text) {
    message(text, false);
}

void WebPort::showError(const std::string& text) {
    message(text, true);
}

void WebPort::message(const std::string& text, bool error) {
    pageMessage(text.c_str(), error ? 1 : 0);
}

void WebPort::restore(const Shown& before) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (shown_.fields[i] != before.fields[i]) {
            shown_.fields[i] = before.fields[i];
            pageSetField(detail::kFieldNames[i], before.fields[i].c_str());
        }
    }
    for (std::size_t i = 0; i < kLabelCount; ++i) {
        if (shown_.captions[i] != before.captions[i]) {
            shown_.captions[i] = before.captions[i];
            pageSetCaption(detail::kLabelNames[i], before.captions[i].c_str());
        }
    }
}

}  // namespace hcurve::web
