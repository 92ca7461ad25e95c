#include "shell/lang/MessageTable.h"

#include "kernel/tasks/QV2DTasks.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

std::array<std::string, kMessageTableSize>& MessageTable() {
    static std::array<std::string, kMessageTableSize> table;
    return table;
}

void LoadMessageStrings() {
    auto& table = MessageTable();
    for (const PageMessage& entry : kPageMessages) table[entry.page] = LangString(entry.number);
    auto& prompts = TaskPrompts();
    for (const PageMessage& entry : kTaskPromptMessages) prompts[entry.page] = LangString(entry.number);
}

}  // namespace calvoro
