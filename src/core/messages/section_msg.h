#pragma once

#include "core/messages/sys_msg_handler.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace talvex {

class COpenedChmFile;

// What an item keeps of the chromatogram it is about, taken when the item is made. The item holds no
// pointer into the chromatogram list, so adding, deleting or re-sorting entries can never leave it
// dangling; within one recalculation the values cannot change anyway.
struct MsgChromatogram {
    std::int32_t fileId = -1; // identity: the list gives every entry its own
    std::string typeLabel;
    std::int32_t analysisNo = -1;
};

// The record an item is about (a component, say): identity only, the address is never dereferenced, plus
// the group text that item texts quote.
struct MsgSubject {
    const void* record = nullptr;
    std::string group;
};

// Items of the two calculations' message types; the same fields and texts, with the ids shifted. The
// four listed ids (Section 7: 101-104, Section 8: 200-203) mean, in order:
//   unnamed peaks of a chromatogram   "<label> - <analysisNo+1>, безымянных пиков: <count>"
//   a peak missing from the database  "<text> (<label> - <analysisNo+1>)"
//   a component with a wrong group    "<text> (задна группа: <subject group>)"
//   free text                         "<text>"
// Any other id (Section 7's 100 among them) has an empty text and never equals another item.
class SectionMsg : public SysMsgHandler::SysMsg {
public:
    std::int32_t id = -1;
    std::string text;
    std::optional<MsgChromatogram> chromatogram;
    std::optional<MsgSubject> subject;
    std::int32_t count = 0;

    void SetChromatogram(const COpenedChmFile& chm);
    void SetSubject(const void* record, std::string group) { subject = MsgSubject{record, std::move(group)}; }

    // Unnamed peaks: the same chromatogram. Missing peak: the same chromatogram and the same text, letter
    // case included. Wrong group and free text: the same subject, which must be set.
    bool IsSame(const SysMsg& other) const override;
    std::string GetText() const override;

protected:
    explicit SectionMsg(std::int32_t firstListedId) : firstListedId_(firstListedId) {}

private:
    // 1-4 for the listed ids in the order above, 0 for any other id.
    int Variant() const;
    // "<label> - <analysisNo+1>", or "---" when the item names no chromatogram.
    std::string ChromatogramText() const;

    std::int32_t firstListedId_;
};

// Items of the degassing-gas calculation, ids 100-104.
class Section7_MSG final : public SectionMsg {
public:
    Section7_MSG() : SectionMsg(101) {}
    // A new item with this id; null for ids outside 100-104.
    static std::unique_ptr<Section7_MSG> Create(std::int32_t id);
};

// Items of the degassed-condensate calculation, ids 200-203.
class Section8_MSG final : public SectionMsg {
public:
    Section8_MSG() : SectionMsg(200) {}
    // A new item with this id; null for ids outside 200-203.
    static std::unique_ptr<Section8_MSG> Create(std::int32_t id);
};

} // namespace talvex
