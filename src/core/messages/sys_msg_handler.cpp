#include "core/messages/sys_msg_handler.h"

#include "core/common/format.h"
#include "core/messages/message_log.h"

#include <algorithm>

namespace talvex {

int SysMsgHandler::RegisterType(std::int32_t id, std::int32_t kind, std::string header, bool headerOnly) {
    const bool taken =
        std::any_of(types_.begin(), types_.end(), [id](const MsgType& t) { return t.id == id; });
    if (taken) {
        if (id != -1)
            log_.PostDebug(true, StrPrintf("Неудалось создать сообщение. Ответ: %d. msgID: %d", -1, id));
        return -1;
    }
    MsgType type;
    type.id = id;
    type.kind = kind;
    type.header = std::move(header);
    type.headerOnly = headerOnly;
    types_.push_back(std::move(type));
    return id;
}

int SysMsgHandler::Post(std::int32_t id, std::unique_ptr<SysMsg> item) {
    const auto it =
        std::find_if(types_.rbegin(), types_.rend(), [id](const MsgType& t) { return t.id == id; });
    if (it == types_.rend())
        return -1;
    MsgType& type = *it;
    if (!item) {
        if (!type.headerOnly)
            return -2;
        type.hasItems = true;
        return id;
    }
    const bool duplicate =
        std::any_of(type.items.begin(), type.items.end(),
                    [&](const std::unique_ptr<SysMsg>& old) { return item->IsSame(*old); });
    if (!duplicate)
        type.items.push_back(std::move(item));
    type.hasItems = true;
    return id;
}

void SysMsgHandler::ClearItems() {
    for (MsgType& type : types_) {
        type.items.clear();
        type.hasItems = false;
    }
}

} // namespace talvex
