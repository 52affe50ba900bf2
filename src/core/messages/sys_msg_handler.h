#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace talvex {

class MessageLog;

// Message kinds: the three lists of the log and the three show filters.
inline constexpr std::int32_t kMsgError = 0;
inline constexpr std::int32_t kMsgWarning = 1;
inline constexpr std::int32_t kMsgInfo = 2;

// Registry of typed messages: a type has a fixed header line, the calculations post items to it, items
// that say the same thing are kept once, and the log's Refresh turns each type with items into one text.
// Types are registered once per program run and never removed; items live until the log is cleared.
class SysMsgHandler {
public:
    // One item of a typed message; the log owns it from posting until the next Clear.
    class SysMsg {
    public:
        virtual ~SysMsg() = default;
        // Whether `other` says the same as this item (it is then dropped as a duplicate).
        virtual bool IsSame(const SysMsg& other) const = 0;
        // The item's line under the type's header.
        virtual std::string GetText() const = 0;
    };

    struct MsgType {
        std::int32_t id = -1;
        std::int32_t kind = kMsgError;
        std::string header;
        bool headerOnly = false;                    // only the header is shown, the items are not listed
        bool hasItems = false;                      // something was posted since the last clear
        std::vector<std::unique_ptr<SysMsg>> items; // in order of posting, duplicates dropped
    };

    explicit SysMsgHandler(MessageLog& log) : log_(log) {}
    SysMsgHandler(const SysMsgHandler&) = delete;
    SysMsgHandler& operator=(const SysMsgHandler&) = delete;

    // Returns id. An id already registered is refused with -1 and, unless it is -1 itself, a debug
    // message in the log's errors (shown in a message box too).
    int RegisterType(std::int32_t id, std::int32_t kind, std::string header, bool headerOnly);

    // Adds an item to the type `id` and returns id, marking the type as having items; an item that IsSame
    // as one already there is destroyed instead of stored. Without an item only a headerOnly type can be
    // marked (else -2). -1 when no type has this id; the item is then destroyed.
    int Post(std::int32_t id, std::unique_ptr<SysMsg> item = nullptr);

    // Removes every item and the hasItems marks; the types stay registered.
    void ClearItems();

    const std::vector<MsgType>& Types() const { return types_; }

private:
    MessageLog& log_;
    std::vector<MsgType> types_; // in order of registration
};

} // namespace talvex
