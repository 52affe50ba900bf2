#pragma once
// What the message-log tests share: a gas run to name in a message, and a message of a section built with
// its chromatogram, text and count.

#include "core/chromatogram/opened_chm_file.h"

#include <cstdint>
#include <memory>
#include <string>

namespace talvex {

inline COpenedChmFile GasSampleRun(std::int32_t fileId, std::int32_t detector, std::int32_t analysisNo) {
    COpenedChmFile c;
    c.fileId = fileId;
    c.role = COpenedChmFile::kSample;
    c.medium = COpenedChmFile::kGas;
    c.detector = detector;
    c.analysisNo = analysisNo;
    return c;
}

// Msg::Create(id) filled in; null when the section has no message of that id.
template <class Msg>
std::unique_ptr<Msg> MakeMsg(std::int32_t id, const COpenedChmFile* chm = nullptr, std::string text = {},
                             int count = 0) {
    auto msg = Msg::Create(id);
    if (msg) {
        if (chm)
            msg->SetChromatogram(*chm);
        msg->text = std::move(text);
        msg->count = count;
    }
    return msg;
}

} // namespace talvex
