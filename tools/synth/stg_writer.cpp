// Writing a chromatogram file: the streams go into the root storage of an OLE2 compound file.
#include "stg_writer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>

#include <array>
#include <exception>
#include <memory>
#include <utility>

namespace talvex::synth {
namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
using OutputPtr = std::unique_ptr<GsfOutput, GObjectUnref>;
using OutfilePtr = std::unique_ptr<GsfOutfile, GObjectUnref>;

using Stream = std::pair<std::string, std::vector<std::uint8_t>>;

constexpr std::array<const char*, 4> kStreamNames = {"Raw_data", "Time", "Table", "Passport"};

// The streams in the order they are written: the four of a chromatogram, then any extra ones, with the
// overrides applied.
std::vector<Stream> CollectStreams(const StgContent& content) {
    const std::array<std::vector<std::uint8_t> (*)(const StgContent&), 4> encoders = {
        EncodeRawData, EncodeTime, EncodeTable, EncodePassport};
    std::vector<Stream> streams;
    for (std::size_t i = 0; i < kStreamNames.size(); ++i) {
        const auto it = content.streamOverrides.find(kStreamNames[i]);
        if (it == content.streamOverrides.end())
            streams.emplace_back(kStreamNames[i], encoders[i](content));
        else if (it->second)
            streams.emplace_back(kStreamNames[i], *it->second);
    }
    for (const auto& [name, bytes] : content.streamOverrides) {
        bool known = false;
        for (const char* k : kStreamNames)
            known = known || name == k;
        if (!known && bytes)
            streams.emplace_back(name, *bytes);
    }
    return streams;
}

std::string ErrorText(const GError* e, const char* fallback) {
    return e && e->message ? e->message : fallback;
}

bool WriteChild(GsfOutfile* ole, const Stream& stream, std::string& why) {
    OutputPtr child(gsf_outfile_new_child(ole, stream.first.c_str(), FALSE));
    if (!child) {
        why = "cannot create stream " + stream.first;
        return false;
    }
    const bool written =
        stream.second.empty() || gsf_output_write(child.get(), stream.second.size(), stream.second.data());
    const bool closed = gsf_output_close(child.get());
    if (!written || !closed) {
        why =
            "cannot write stream " + stream.first + ": " + ErrorText(gsf_output_error(child.get()), "error");
        return false;
    }
    return true;
}

} // namespace

bool WriteStg(const std::string& path, const StgContent& content, std::string* error) {
    std::string why;
    std::vector<Stream> streams;
    try {
        streams = CollectStreams(content);
    } catch (const std::exception& e) {
        if (error)
            *error = path + ": " + e.what();
        return false;
    }
    // The stdio output writes to a temporary file beside `path` and renames it over `path` on a clean
    // close; an output marked with an error discards the temporary file instead.
    GError* gerror = nullptr;
    OutputPtr sink(gsf_output_stdio_new(path.c_str(), &gerror));
    if (!sink) {
        if (error)
            *error = path + ": " + ErrorText(gerror, "cannot create the file");
        if (gerror)
            g_error_free(gerror);
        return false;
    }
    bool ok = true;
    {
        OutfilePtr ole(gsf_outfile_msole_new(sink.get()));
        if (!ole) {
            ok = false;
            why = "cannot start a compound file";
        }
        for (std::size_t i = 0; ok && i < streams.size(); ++i)
            ok = WriteChild(ole.get(), streams[i], why);
        if (!ok)
            gsf_output_set_error(sink.get(), 0, "%s", why.c_str());
        if (ole && !gsf_output_close(GSF_OUTPUT(ole.get())) && ok) {
            ok = false;
            why = ErrorText(gsf_output_error(GSF_OUTPUT(ole.get())), "cannot write the compound file");
            gsf_output_set_error(sink.get(), 0, "%s", why.c_str());
        }
    }
    if (!gsf_output_is_closed(sink.get()) && !gsf_output_close(sink.get()) && ok) {
        ok = false;
        why = ErrorText(gsf_output_error(sink.get()), "cannot finish the file");
    }
    if (!ok && error)
        *error = path + ": " + why;
    return ok;
}

} // namespace talvex::synth
