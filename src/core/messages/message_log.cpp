#include "core/messages/message_log.h"

#include <string_view>

namespace talvex {
namespace {

bool ValidKind(std::int32_t kind) {
    return kind >= kMsgError && kind <= kMsgInfo;
}

// The caption line of each kind; the error one has two blanks after the number.
constexpr std::array<std::string_view, 3> kCaptions{".  Ошибка! \r\n\t", ". Предупреждение! \r\n\t",
                                                    ". Информация! \r\n\t"};

std::string RenderType(const SysMsgHandler::MsgType& type) {
    std::string text = type.header;
    if (!type.headerOnly)
        for (const auto& item : type.items)
            text += "\r\n\t\t - " + item->GetText();
    return text + "\r\n";
}

} // namespace

void MessageLog::PostText(std::int32_t kind, std::string text) {
    if (ValidKind(kind))
        direct_[kind].push_back(std::move(text));
}

void MessageLog::PostDebug(bool showBox, const std::string& message) {
    const std::string text = "### Отладочное сообщение ### \r\n" + message;
    if (showBox && messageBox_)
        messageBox_(text);
    PostText(kMsgError, text);
}

void MessageLog::Clear() {
    handler_.ClearItems();
    for (std::size_t k = 0; k < kKinds; ++k) {
        direct_[k].clear();
        rendered_[k].clear();
    }
}

void MessageLog::Refresh() {
    for (auto& list : rendered_)
        list.clear();
    for (const SysMsgHandler::MsgType& type : handler_.Types())
        if (type.hasItems && ValidKind(type.kind))
            rendered_[type.kind].push_back(RenderType(type));
    Compose();
}

const std::string& MessageLog::Compose() {
    if (IsEmpty()) {
        logText_ = "\r\n \tПредупреждений и ошибок нет.";
        return logText_;
    }
    logText_.clear();
    int number = 0;
    for (std::int32_t kind = kMsgError; kind <= kMsgInfo; ++kind) {
        if (!show_[kind])
            continue;
        const std::string_view caption = kCaptions[kind];
        for (const std::string& text : Texts(kind))
            logText_.append(std::to_string(++number)).append(caption).append(text).append("\r\n");
    }
    return logText_;
}

void MessageLog::SetFilters(bool showErrors, bool showWarnings, bool showInfo) {
    show_ = {showErrors, showWarnings, showInfo};
    Compose();
}

bool MessageLog::IsEmpty() const {
    for (std::size_t k = 0; k < kKinds; ++k)
        if (!direct_[k].empty() || !rendered_[k].empty())
            return false;
    return true;
}

std::vector<std::string> MessageLog::Texts(std::int32_t kind) const {
    if (!ValidKind(kind))
        return {};
    std::vector<std::string> texts = direct_[kind];
    texts.insert(texts.end(), rendered_[kind].begin(), rendered_[kind].end());
    return texts;
}

} // namespace talvex
