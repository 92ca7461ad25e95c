#include "shell/lang/MessageTable.h"

#include "shell/lang/UnitLang.h"

namespace calvoro {

std::array<std::string, kMessageTableSize>& MessageTable() {
    static std::array<std::string, kMessageTableSize> table;
    return table;
}

void LoadMessageStrings() {
    auto& table = MessageTable();
    for (const PageMessage& entry : kPageMessages) table[entry.page] = LangString(entry.number);
}

}  // namespace calvoro
