#include "core/messages/component_problems.h"

#include "core/common/format.h"
#include "core/messages/message_log.h"

#include <utility>

namespace talvex {

void PostComponentProblem(MessageLog& log, const std::string& name, std::string_view section,
                          const std::vector<const char*>& lines) {
    std::string text = StrPrintf("Компонент \"%s\" (%.*s).\r\n\t", name.c_str(),
                                 static_cast<int>(section.size()), section.data());
    for (const char* line : lines)
        text += line;
    log.PostText(kMsgError, std::move(text));
}

} // namespace talvex
