#pragma once

#include "core/messages/sys_msg_handler.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace talvex {

// The log of what the calculations found, and the text the log page shows. The session owns one for the
// program run. Each recalculation calls Clear first, then the calculations post, then Refresh once.
//
// Texts are UTF-8 with CR LF line ends, exactly as the page shows them.
class MessageLog {
public:
    MessageLog() = default;
    MessageLog(const MessageLog&) = delete; // the handler refers back to its log
    MessageLog& operator=(const MessageLog&) = delete;

    SysMsgHandler& Handler() { return handler_; }
    const SysMsgHandler& Handler() const { return handler_; }

    // Appends a finished text to the list of its kind (kMsgError, kMsgWarning, kMsgInfo); other kinds
    // are ignored.
    void PostText(std::int32_t kind, std::string text);

    // An error marked as a debug message; with showBox it is also shown at once in a message box.
    void PostDebug(bool showBox, const std::string& message);

    // Empties the three lists and the items of every message type.
    void Clear();

    // Renders every message type with items into a text of its kind, after the direct texts of that kind,
    // then composes. Calling it again renders the types afresh instead of adding them twice.
    void Refresh();

    // Builds the page's text from the lists and the show filters; returns it.
    const std::string& Compose();

    // The page's three check boxes ("Ошибки", "Предупреждения", "Информация"); composes again.
    void SetFilters(bool showErrors, bool showWarnings, bool showInfo);
    bool ShowErrors() const { return show_[kMsgError]; }
    bool ShowWarnings() const { return show_[kMsgWarning]; }
    bool ShowInfo() const { return show_[kMsgInfo]; }

    // Nothing was posted since the last Clear (rendered types count as posted).
    bool IsEmpty() const;

    // The texts of one kind in the order they are shown: direct texts, then the rendered types.
    std::vector<std::string> Texts(std::int32_t kind) const;

    // The text composed last.
    const std::string& LogText() const { return logText_; }

    // What shows a modal message box with the error icon; the GUI sets it. Without it nothing is shown.
    void SetMessageBox(std::function<void(const std::string&)> show) { messageBox_ = std::move(show); }

private:
    static constexpr std::size_t kKinds = 3;

    SysMsgHandler handler_{*this};
    std::array<std::vector<std::string>, kKinds> direct_;
    std::array<std::vector<std::string>, kKinds> rendered_; // message types, replaced by every Refresh
    std::array<bool, kKinds> show_{true, true, true};
    std::string logText_;
    std::function<void(const std::string&)> messageBox_;
};

} // namespace talvex
