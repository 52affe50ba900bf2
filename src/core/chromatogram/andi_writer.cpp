// Writing a chromatogram as an ANDI/AIA chromatography file. netCDF builds the file in memory; the bytes
// then replace the target through a temporary file, so a failure never leaves a half-written file.
#include "core/chromatogram/andi_file.h"

#include "core/chromatogram/andi_layout.h"
#include "core/chromatogram/andi_names.h"
#include "core/common/data_file_io.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace talvex {
namespace {

using namespace andi;

struct NcFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Check(int rc, const char* what) {
    if (rc != NC_NOERR)
        throw NcFailure(std::string(what) + ": " + nc_strerror(rc));
}

// UTC with its zone, so that a reader anywhere gets the same moment back.
std::string Stamp(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    if (!gmtime_r(&t, &utc) || utc.tm_year + 1900 < 0 || utc.tm_year + 1900 > 9999)
        throw NcFailure("a date-time is outside the years 0 to 9999");
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d+0000", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

void PutText(int ncid, int varid, const char* name, std::string_view text) {
    Check(nc_put_att_text(ncid, varid, name, text.size(), text.data()), name);
}

void PutDouble(int ncid, const char* name, double value) {
    Check(nc_put_att_double(ncid, NC_GLOBAL, name, NC_DOUBLE, 1, &value), name);
}

// The smallest of the standard's string widths that holds every name, or the longest name itself.
std::size_t NameWidth(const CPeeksTable& peaks) {
    std::size_t longest = 1;
    for (const cmpeek& p : peaks)
        longest = std::max(longest, p.name.size());
    for (const std::size_t width : {32u, 64u, 128u, 255u})
        if (longest <= width)
            return width;
    return longest;
}

struct Layout {
    int signal = -1, delay = -1, interval = -1, runLength = -1;
    int name = -1, start = -1, end = -1, area = -1, retention = -1, linked = -1;
};

void DefineGlobals(int ncid, const CPassport& pp) {
    PutText(ncid, NC_GLOBAL, "dataset_completeness", "C1+C2");
    PutText(ncid, NC_GLOBAL, "aia_template_revision", "1.0.1");
    PutText(ncid, NC_GLOBAL, "languages", "English and Russian");
    PutText(ncid, NC_GLOBAL, "dataset_origin", "Talvex");
    PutText(ncid, NC_GLOBAL, "dataset_date_time_stamp", Stamp(pp.analysisTime));
    PutText(ncid, NC_GLOBAL, kInjectionStamp, Stamp(pp.analysisTime));
    PutText(ncid, NC_GLOBAL, kRetentionUnit, "Seconds");
    PutText(ncid, NC_GLOBAL, "detector_unit", "mV");
    PutText(ncid, NC_GLOBAL, kSampleName, pp.sampleName);
    PutText(ncid, NC_GLOBAL, kCompanyMethod, pp.method);
    PutText(ncid, NC_GLOBAL, kOperator, pp.operatorName);
    PutText(ncid, NC_GLOBAL, kComments, pp.comment);
    PutText(ncid, NC_GLOBAL, kSampleType, pp.calibrationFlag != 0 ? "calibration" : "test");

    PutText(ncid, NC_GLOBAL, kSamplingPoint, pp.samplingPoint);
    PutText(ncid, NC_GLOBAL, kSamplingSite, pp.samplingSite);
    PutText(ncid, NC_GLOBAL, kEluent, pp.eluent);
    PutText(ncid, NC_GLOBAL, kReagent, pp.reagent);
    PutDouble(ncid, kVolume, pp.volume);
    PutDouble(ncid, kDilution, pp.dilution);
    PutDouble(ncid, kNorm, pp.norm);
    Check(nc_put_att_int(ncid, NC_GLOBAL, kSeriesNo, NC_INT, 1, &pp.seriesNo), kSeriesNo);
    PutText(ncid, NC_GLOBAL, kSamplingStamp, Stamp(pp.samplingTime));
}

Layout DefineVariables(int ncid, const CChmFile& chm) {
    Layout l;
    int pointDim = -1;
    // A length of 0 would make the dimension unlimited; an empty signal still gets one of its own.
    Check(nc_def_dim(ncid, kPointDim, chm.signal.samples.size(), &pointDim), kPointDim);
    Check(nc_def_var(ncid, kSignal, NC_FLOAT, 1, &pointDim, &l.signal), kSignal);
    PutText(ncid, l.signal, "long_name", "detector signal");
    Check(nc_def_var(ncid, kDelayTime, NC_DOUBLE, 0, nullptr, &l.delay), kDelayTime);
    Check(nc_def_var(ncid, kSamplingInterval, NC_DOUBLE, 0, nullptr, &l.interval), kSamplingInterval);
    Check(nc_def_var(ncid, kRunLength, NC_DOUBLE, 0, nullptr, &l.runLength), kRunLength);
    if (chm.peaks.empty())
        return l;
    int peakDim = -1, nameDim = -1;
    const std::size_t width = NameWidth(chm.peaks);
    const std::string widthName = "_" + std::to_string(width) + "_byte_string";
    Check(nc_def_dim(ncid, kPeakDim, chm.peaks.size(), &peakDim), kPeakDim);
    Check(nc_def_dim(ncid, widthName.c_str(), width, &nameDim), "name width");
    const int nameDims[2] = {peakDim, nameDim};
    Check(nc_def_var(ncid, kPeakName, NC_CHAR, 2, nameDims, &l.name), kPeakName);
    Check(nc_def_var(ncid, kPeakRetention, NC_DOUBLE, 1, &peakDim, &l.retention), kPeakRetention);
    Check(nc_def_var(ncid, kPeakStart, NC_DOUBLE, 1, &peakDim, &l.start), kPeakStart);
    Check(nc_def_var(ncid, kPeakEnd, NC_DOUBLE, 1, &peakDim, &l.end), kPeakEnd);
    Check(nc_def_var(ncid, kPeakArea, NC_DOUBLE, 1, &peakDim, &l.area), kPeakArea);
    Check(nc_def_var(ncid, kPeakNextLinked, NC_INT, 1, &peakDim, &l.linked), kPeakNextLinked);
    return l;
}

void PutValues(int ncid, int varid, const std::vector<double>& values, const char* name) {
    Check(nc_put_var_double(ncid, varid, values.data()), name);
}

void WriteValues(int ncid, const Layout& l, const CChmFile& chm) {
    if (!chm.signal.samples.empty())
        Check(nc_put_var_float(ncid, l.signal, chm.signal.samples.data()), kSignal);
    const double delay = chm.signal.startTime * 60.0;
    const double interval = chm.signal.step * 60.0;
    const double runLength = chm.passport.duration * 60.0;
    Check(nc_put_var_double(ncid, l.delay, &delay), kDelayTime);
    Check(nc_put_var_double(ncid, l.interval, &interval), kSamplingInterval);
    Check(nc_put_var_double(ncid, l.runLength, &runLength), kRunLength);
    if (chm.peaks.empty())
        return;
    const std::size_t width = NameWidth(chm.peaks);
    std::string names(chm.peaks.size() * width, '\0');
    std::vector<double> retention, start, end, area;
    std::vector<int> linked;
    for (std::size_t i = 0; i < chm.peaks.size(); ++i) {
        const cmpeek& p = chm.peaks[i];
        std::copy(p.name.begin(), p.name.end(), names.begin() + static_cast<std::ptrdiff_t>(i * width));
        retention.push_back(p.retentionTime * 60.0);
        start.push_back(p.beginTime * 60.0);
        end.push_back(p.endTime * 60.0);
        area.push_back(p.area);
        linked.push_back(p.nextLinked);
    }
    Check(nc_put_var_text(ncid, l.name, names.data()), kPeakName);
    PutValues(ncid, l.retention, retention, kPeakRetention);
    PutValues(ncid, l.start, start, kPeakStart);
    PutValues(ncid, l.end, end, kPeakEnd);
    PutValues(ncid, l.area, area, kPeakArea);
    Check(nc_put_var_int(ncid, l.linked, linked.data()), kPeakNextLinked);
}

// The whole file as bytes.
std::string BuildFile(const CChmFile& chm) {
    int ncid = -1;
    // The size is only netCDF's first buffer; it grows as needed.
    Check(nc_create_mem("talvex.cdf", NC_CLOBBER, 4096 + chm.signal.samples.size() * 4, &ncid),
          "cannot start the file");
    try {
        Check(nc_set_fill(ncid, NC_NOFILL, nullptr), "fill mode");
        DefineGlobals(ncid, chm.passport);
        const Layout layout = DefineVariables(ncid, chm);
        Check(nc_enddef(ncid), "header");
        WriteValues(ncid, layout, chm);
    } catch (...) {
        NC_memio discarded{};
        if (nc_close_memio(ncid, &discarded) == NC_NOERR)
            std::free(discarded.memory);
        throw;
    }
    NC_memio memory{};
    Check(nc_close_memio(ncid, &memory), "cannot finish the file");
    std::string bytes(static_cast<const char*>(memory.memory), memory.size);
    std::free(memory.memory);
    // The buffer goes on past the values with whatever the memory held; the file ends with its values.
    std::uint64_t end = bytes.size();
    try {
        end = CheckClassicHeader({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    } catch (const std::runtime_error& e) {
        throw NcFailure(e.what());
    }
    bytes.resize(std::min<std::uint64_t>(end, bytes.size()));
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0'); // the values of the last variable end on 4 bytes
    return bytes;
}

} // namespace

bool WriteAndiFile(const std::string& path, const CChmFile& chm, std::string* error) {
    std::string bytes;
    try {
        bytes = BuildFile(chm);
    } catch (const std::exception& e) {
        if (error)
            *error = path + ": " + e.what();
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

} // namespace talvex
