#include "app/command_list.h"

#include <stdexcept>

namespace hcurve {

const CommandEntry* commandForKey(std::string_view key) {
    for (const CommandEntry& entry : kCommands) {
        if (key == entry.key)
            return &entry;
    }
    return nullptr;
}

const CommandEntry& commandEntry(Command command) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.command == command)
            return entry;
    }
    throw std::logic_error("a command missing from the list");
}

std::string commandHint() {
    std::string hint = "请输入 ";
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (i > 0)
            hint += i + 1 == kCommands.size() ? " 或 " : "、";
        hint += std::string(kCommands[i].key) + " (" + kCommands[i].caption + ")";
    }
    return hint + "。";
}

std::string commandSummary() {
    std::string buttons, others;
    for (const CommandEntry& entry : kCommands) {
        std::string& list = entry.offered == Offered::Button ? buttons : others;
        list += (list.empty() ? "" : ", ") + std::string(entry.key) + " " + entry.caption;
    }
    return buttons + "; " + others;
}

}  // namespace hcurve
