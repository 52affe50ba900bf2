#include "odtexport/text_markers.h"

#include "odtexport/marker_limits.h"
#include "odtexport/utf.h"
#include "odtexport/xml_nodes.h"

#include <string>
#include <string_view>
#include <vector>

namespace brisquel {
namespace {

// The text being built for one paragraph, held to kMaxFilledTextLength characters.
class BoundedText {
public:
    // False (and nothing appended) when the part does not fit.
    bool Append(std::string_view part) {
        const std::size_t n = CodePointCount(part);
        if (length_ + n > kMaxFilledTextLength)
            return false;
        text_ += part;
        length_ += n;
        return true;
    }
    // Appends as much of the part as fits.
    void AppendCut(std::string_view part) { Append(FirstCodePoints(part, kMaxFilledTextLength - length_)); }
    void Clear() {
        text_.clear();
        length_ = 0;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::size_t length_ = 0;
};

// One marker fill of one text node; the copies it made are undone unless it completes.
class MarkerFill {
public:
    MarkerFill(pugi::xml_node text, pugi::xml_node data) : text_(text), data_(data), source_(text.value()) {}

    void Run() {
        if (!Fill())
            for (pugi::xml_node copy : copies_)
                copy.parent().remove_child(copy);
    }

private:
    bool Fill() {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t open = source_.find('#', pos);
            if (open == std::string::npos)
                return false; // only for a text without any "#"
            const std::size_t close = source_.find('#', open + 1);
            if (close == std::string::npos)
                return false;
            if (!out_.Append(std::string_view(source_).substr(pos, open - pos)))
                return false;
            const std::string_view key = std::string_view(source_).substr(open + 1, close - open - 1);
            if (CodePointCount(key) > kMaxKeyLength) {
                pos = open + 1; // the first sign is plain text and is dropped; the next one may open
                continue;
            }
            if (!AppendValue(key))
                return false;
            if (source_.find('#', close + 1) == std::string::npos) {
                out_.AppendCut(std::string_view(source_).substr(close + 1));
                text_.set_value(out_.Text().c_str());
                return true;
            }
            pos = close + 1;
        }
    }

    // The value of the key and, for a chain, the values below it, each but the last in a paragraph copy.
    bool AppendValue(std::string_view key) {
        pugi::xml_node element = FirstChildElement(data_, key);
        const std::string_view value = ValueOf(element);
        if (value.empty())
            return true;
        if (!out_.Append(value))
            return false;
        for (;;) {
            const pugi::xml_node next = FirstChildElement(element, key);
            const std::string_view nextValue = ValueOf(next);
            if (nextValue.empty())
                return true;
            if (!MoveTextToParagraphCopy())
                return true; // nowhere to put a copy: keep the values gathered so far
            if (!out_.Append(nextValue))
                return false;
            element = next;
        }
    }

    // Puts the text built so far into a copy of the text node's parent (name and attributes), placed
    // before that parent and after the copies made before, then starts the text afresh.
    bool MoveTextToParagraphCopy() {
        const pugi::xml_node parent = text_.parent();
        if (parent.type() != pugi::node_element || !parent.parent())
            return false;
        pugi::xml_node copy = parent.parent().insert_child_before(pugi::node_element, parent);
        copy.set_name(parent.name());
        for (const pugi::xml_attribute attribute : parent.attributes())
            copy.append_copy(attribute);
        copy.append_child(pugi::node_pcdata).set_value(out_.Text().c_str());
        copies_.push_back(copy);
        out_.Clear();
        return true;
    }

    pugi::xml_node text_;
    pugi::xml_node data_;
    const std::string source_;
    BoundedText out_;
    std::vector<pugi::xml_node> copies_;
};

} // namespace

void FillTextMarkers(pugi::xml_node text, pugi::xml_node data) {
    if (std::string_view(text.value()).find('#') == std::string_view::npos)
        return;
    MarkerFill(text, data).Run();
}

} // namespace brisquel
