// Reading ANDI/AIA chromatography files through netCDF's in-memory open: the file is read whole under a
// shared lock, so every size the file claims can be checked against the bytes it really holds before
// anything is allocated for it.
#include "core/chromatogram/andi_file.h"

#include "core/chromatogram/andi_layout.h"
#include "core/chromatogram/andi_names.h"
#include "core/common/text_codec.h"

#include <netcdf.h>
#include <netcdf_mem.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace talvex {
namespace {

using namespace andi;

// A refusal with its reason; caught at the entry points and turned into the result.
struct Refusal : std::runtime_error {
    Refusal(ReadProblem problem, std::string part, const std::string& detail)
        : std::runtime_error(detail), problem(problem), part(std::move(part)) {}
    ReadProblem problem;
    std::string part; // the field that is wrong
};

// The file is damaged: `part` (a variable, attribute or dimension of the file) is wrong.
[[noreturn]] void Refuse(const std::string& part, const std::string& detail) {
    throw Refusal(ReadProblem::Damaged, part, detail);
}

[[noreturn]] void RefuseFile(ReadProblem problem, const std::string& detail) {
    throw Refusal(problem, {}, detail);
}

constexpr const char* kHeader = "netCDF header";

bool IsNumeric(nc_type t) {
    switch (t) {
    case NC_BYTE:
    case NC_UBYTE:
    case NC_SHORT:
    case NC_USHORT:
    case NC_INT:
    case NC_UINT:
    case NC_INT64:
    case NC_UINT64:
    case NC_FLOAT:
    case NC_DOUBLE:
        return true;
    default:
        return false;
    }
}

// Texts are UTF-8 when they are valid UTF-8, else the laboratory's Windows-1251; trailing NUL bytes and
// blanks are dropped.
std::string DecodeText(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\0' || bytes.back() == ' ' || bytes.back() == '\t' ||
                              bytes.back() == '\r' || bytes.back() == '\n'))
        bytes.remove_suffix(1);
    UErrorCode status = U_ZERO_ERROR;
    int32_t units = 0;
    if (bytes.size() < static_cast<std::size_t>(INT32_MAX))
        u_strFromUTF8(nullptr, 0, &units, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    const bool valid = status == U_BUFFER_OVERFLOW_ERROR || status == U_ZERO_ERROR ||
                       status == U_STRING_NOT_TERMINATED_WARNING;
    if (valid && bytes.find('\0') == std::string_view::npos)
        return std::string(bytes);
    return Cp1251ToUtf8(bytes.substr(0, bytes.find('\0')));
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A text attribute (char, or the first value of a string attribute); nothing when absent or not text.
std::optional<std::string> TextAttribute(int ncid, int varid, const char* name) {
    nc_type type = NC_NAT;
    std::size_t length = 0;
    if (nc_inq_att(ncid, varid, name, &type, &length) != NC_NOERR)
        return std::nullopt;
    if (type == NC_CHAR) {
        std::string bytes(length, '\0');
        if (length > 0 && nc_get_att_text(ncid, varid, name, bytes.data()) != NC_NOERR)
            return std::nullopt;
        return DecodeText(bytes);
    }
    if (type == NC_STRING && length > 0) {
        std::vector<char*> values(length, nullptr);
        if (nc_get_att_string(ncid, varid, name, values.data()) != NC_NOERR)
            return std::nullopt;
        std::string text = values[0] ? DecodeText(values[0]) : std::string();
        nc_free_string(length, values.data());
        return text;
    }
    return std::nullopt;
}

std::optional<double> NumberAttribute(int ncid, const char* name) {
    nc_type type = NC_NAT;
    std::size_t length = 0;
    if (nc_inq_att(ncid, NC_GLOBAL, name, &type, &length) != NC_NOERR || !IsNumeric(type) || length != 1)
        return std::nullopt;
    double value = 0.0;
    if (nc_get_att_double(ncid, NC_GLOBAL, name, &value) != NC_NOERR)
        return std::nullopt;
    return value;
}

std::string GlobalText(int ncid, const char* name) {
    return TextAttribute(ncid, NC_GLOBAL, name).value_or(std::string());
}

class NcDataset {
public:
    explicit NcDataset(std::span<const std::uint8_t> bytes) : size_(bytes.size()) {
        if (bytes.empty())
            RefuseFile(ReadProblem::NotChromatogram, "not a netCDF file: the file is empty");
        // ANDI files are classic netCDF (CDF-1, CDF-2, CDF-5). A netCDF-4 file is an HDF5 file, whose
        // library is not made to read hostile input; it is refused before anything parses it.
        static constexpr std::uint8_t kHdf5[] = {0x89, 'H', 'D', 'F', '\r', '\n', 0x1A, '\n'};
        if (bytes.size() >= sizeof kHdf5 && std::equal(std::begin(kHdf5), std::end(kHdf5), bytes.begin()))
            RefuseFile(ReadProblem::NotChromatogram,
                       "a netCDF-4 (HDF5) file: ANDI chromatography files are classic netCDF");
        if (bytes.size() < 4 || bytes[0] != 'C' || bytes[1] != 'D' || bytes[2] != 'F')
            RefuseFile(ReadProblem::NotChromatogram, "not a netCDF file");
        // netCDF believes the header's lengths; they are checked against the bytes first.
        std::uint64_t end = 0;
        try {
            end = CheckClassicHeader(bytes);
        } catch (const std::runtime_error& e) {
            Refuse(kHeader, e.what());
        }
        // netCDF reads the values of a file cut short as zeros; such a file has lost data.
        if (end > bytes.size())
            Refuse(kHeader, "the file is shorter than its header says: it has been cut off");
        // NC_NOWRITE: netCDF only reads the memory it is given.
        void* memory = const_cast<std::uint8_t*>(bytes.data());
        const int rc = nc_open_mem("andi.cdf", NC_NOWRITE, bytes.size(), memory, &id_);
        if (rc != NC_NOERR) {
            id_ = -1;
            // Positive codes are the system's and say nothing about the file.
            Refuse(kHeader, rc < 0 ? std::string("not a readable netCDF file: ") + nc_strerror(rc)
                                   : std::string("not a readable netCDF file"));
        }
    }
    NcDataset(const NcDataset&) = delete;
    NcDataset& operator=(const NcDataset&) = delete;
    ~NcDataset() {
        if (id_ >= 0)
            nc_close(id_);
    }
    int id() const { return id_; }
    std::size_t size() const { return size_; }

private:
    int id_ = -1;
    std::size_t size_;
};

// A numeric variable found by name, with its total number of values.
struct Variable {
    int id = -1;
    nc_type type = NC_NAT;
    std::size_t count = 1;
    std::vector<std::size_t> shape;
};

std::optional<Variable> FindVariable(const NcDataset& file, const char* name) {
    Variable v;
    if (nc_inq_varid(file.id(), name, &v.id) != NC_NOERR)
        return std::nullopt;
    int ndims = 0;
    if (nc_inq_vartype(file.id(), v.id, &v.type) != NC_NOERR ||
        nc_inq_varndims(file.id(), v.id, &ndims) != NC_NOERR || ndims < 0 || ndims > NC_MAX_VAR_DIMS)
        Refuse(name, std::string("the variable ") + name + " cannot be read");
    std::vector<int> dims(static_cast<std::size_t>(ndims));
    if (ndims > 0 && nc_inq_vardimid(file.id(), v.id, dims.data()) != NC_NOERR)
        Refuse(name, std::string("the variable ") + name + " cannot be read");
    for (const int d : dims) {
        std::size_t length = 0;
        if (nc_inq_dimlen(file.id(), d, &length) != NC_NOERR)
            Refuse(name, std::string("the variable ") + name + " cannot be read");
        v.shape.push_back(length);
        // Every value is stored in the file, so no variable holds more values than the file has bytes.
        if (length != 0 && v.count > file.size() / length)
            Refuse(name, std::string("the variable ") + name + " claims more values than the file holds");
        v.count *= length;
    }
    if (v.type != NC_CHAR && v.type != NC_STRING && v.count > file.size() / TypeSize(v.type))
        Refuse(name, std::string("the variable ") + name + " claims more values than the file holds");
    return v;
}

std::optional<Variable> FindNumber(const NcDataset& file, const char* name) {
    auto v = FindVariable(file, name);
    if (v && !IsNumeric(v->type))
        Refuse(name, std::string("the variable ") + name + " is not numeric");
    return v;
}

std::vector<double> ReadDoubles(const NcDataset& file, const Variable& v, const char* name) {
    std::vector<double> values(v.count);
    if (v.count > 0) {
        const int rc = nc_get_var_double(file.id(), v.id, values.data());
        if (rc != NC_NOERR && rc != NC_ERANGE)
            Refuse(name, std::string("the variable ") + name + " cannot be read: " + nc_strerror(rc));
    }
    return values;
}

// The value of a variable that holds one number (a scalar, or an array of length 1).
std::optional<double> ReadScalar(const NcDataset& file, const char* name) {
    const auto v = FindNumber(file, name);
    if (!v)
        return std::nullopt;
    if (v->count != 1)
        Refuse(name, std::string("the variable ") + name + " holds " + std::to_string(v->count) +
                         " values instead of one");
    return ReadDoubles(file, *v, name)[0];
}

// The standard's -9999 and netCDF's fill value (a value never written) both mean "not known".
bool IsMissing(double v) {
    return v == kMissing || v == static_cast<double>(NC_FILL_FLOAT) || v == NC_FILL_DOUBLE;
}

void RequireFinite(double v, const char* part, const std::string& what) {
    if (!std::isfinite(v))
        Refuse(part, what + " is not a finite number");
}

// Minutes per unit of the file's times.
double MinutesPerUnit(int ncid) {
    const auto unit = TextAttribute(ncid, NC_GLOBAL, kRetentionUnit);
    const std::string folded = AsciiLower(Trimmed(unit.value_or(std::string())));
    if (folded.empty() || folded == "seconds")
        return 1.0 / 60.0;
    if (folded == "minutes")
        return 1.0;
    Refuse(kRetentionUnit,
           "unsupported time unit \"" + Trimmed(*unit) + "\" in retention_unit (Seconds or Minutes)");
}

double ToMinutes(double value, double minutesPerUnit) {
    // Seconds are divided rather than multiplied by 1/60, which is not exact.
    return minutesPerUnit == 1.0 ? value : value / 60.0;
}

bool ParseDigits(std::string_view s, std::size_t pos, std::size_t n, int& out) {
    out = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9')
            return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

// `YYYYMMDDhhmmss`, optionally followed by `±hhmm`; without a zone the time is local.
std::int64_t ParseStamp(const std::string& text, const char* name) {
    const std::string s = Trimmed(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool digits = (s.size() == 14 || s.size() == 19) && ParseDigits(s, 0, 4, year) &&
                        ParseDigits(s, 4, 2, month) && ParseDigits(s, 6, 2, day) &&
                        ParseDigits(s, 8, 2, hour) && ParseDigits(s, 10, 2, minute) &&
                        ParseDigits(s, 12, 2, second);
    int zoneHours = 0, zoneMinutes = 0;
    const bool zone = s.size() == 19 && (s[14] == '+' || s[14] == '-') && ParseDigits(s, 15, 2, zoneHours) &&
                      ParseDigits(s, 17, 2, zoneMinutes);
    if (!digits || (s.size() == 19 && !zone) || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
        minute > 59 || second > 60 || zoneMinutes > 59)
        Refuse(name, std::string(name) + " \"" + s + "\" is not a date-time YYYYMMDDhhmmss[±hhmm]");
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    if (zone) {
        const std::int64_t offset = (zoneHours * 3600 + zoneMinutes * 60) * (s[14] == '-' ? -1 : 1);
        return static_cast<std::int64_t>(::timegm(&fields)) - offset;
    }
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

void ReadPassport(const NcDataset& file, double minutesPerUnit, CPassport& pp) {
    const int id = file.id();
    pp.sampleName = GlobalText(id, kSampleName);
    pp.method.clear();
    for (const char* name : {kCompanyMethod, kDetectionMethod, kDetectorName}) {
        pp.method = GlobalText(id, name);
        if (!pp.method.empty())
            break;
    }
    pp.operatorName = GlobalText(id, kOperator);
    pp.comment = GlobalText(id, kComments);
    if (const auto stamp = TextAttribute(id, NC_GLOBAL, kInjectionStamp); stamp && !stamp->empty())
        pp.analysisTime = pp.samplingTime = ParseStamp(*stamp, kInjectionStamp);
    if (const auto run = ReadScalar(file, kRunLength); run && !IsMissing(*run)) {
        RequireFinite(*run, kRunLength, kRunLength);
        pp.duration = ToMinutes(*run, minutesPerUnit);
    }
    pp.calibrationFlag = AsciiLower(GlobalText(id, kSampleType)).find("calib") != std::string::npos ? 1 : 0;

    // Fields a file of this program carries beside the standard's.
    pp.samplingPoint = GlobalText(id, kSamplingPoint);
    pp.samplingSite = GlobalText(id, kSamplingSite);
    pp.eluent = GlobalText(id, kEluent);
    pp.reagent = GlobalText(id, kReagent);
    pp.volume = NumberAttribute(id, kVolume).value_or(pp.volume);
    pp.dilution = NumberAttribute(id, kDilution).value_or(pp.dilution);
    pp.norm = NumberAttribute(id, kNorm).value_or(pp.norm);
    if (const auto series = NumberAttribute(id, kSeriesNo);
        series && *series >= INT32_MIN && *series <= INT32_MAX)
        pp.seriesNo = static_cast<std::int32_t>(*series);
    if (const auto stamp = TextAttribute(id, NC_GLOBAL, kSamplingStamp); stamp && !stamp->empty())
        pp.samplingTime = ParseStamp(*stamp, kSamplingStamp);
}

void ReadSignal(const NcDataset& file, double minutesPerUnit, CLattice& signal) {
    const auto values = FindNumber(file, kSignal);
    if (!values)
        Refuse(kSignal, "no signal: the variable ordinate_values is missing");
    if (values->shape.size() != 1)
        Refuse(kSignal, "the signal ordinate_values is not a list of points");
    signal.samples.resize(values->count);
    if (values->count > 0) {
        int rc = NC_NOERR;
        if (values->type == NC_FLOAT) {
            rc = nc_get_var_float(file.id(), values->id, signal.samples.data());
        } else {
            const std::vector<double> wide = ReadDoubles(file, *values, kSignal);
            for (std::size_t i = 0; i < wide.size(); ++i)
                signal.samples[i] = static_cast<float>(wide[i]);
        }
        if (rc != NC_NOERR && rc != NC_ERANGE)
            Refuse(kSignal, std::string("the signal cannot be read: ") + nc_strerror(rc));
    }

    auto delay = ReadScalar(file, kDelayTime);
    auto interval = ReadScalar(file, kSamplingInterval);
    if (delay && IsMissing(*delay))
        delay.reset();
    if (interval && IsMissing(*interval))
        interval.reset();
    double start = delay.value_or(0.0);
    double step = 0.0;
    if (interval) {
        step = *interval;
    } else {
        // Without a sampling interval the retention time of every point gives the axis; the calculations
        // need an even one.
        const auto times = FindNumber(file, kRetentionTimes);
        if (!times)
            Refuse(kSamplingInterval,
                   "no time axis: neither actual_sampling_interval nor raw_data_retention is given");
        if (times->count != values->count || times->count < 2)
            Refuse(kRetentionTimes, "raw_data_retention has " + std::to_string(times->count) +
                                        " values for " + std::to_string(values->count) + " points");
        const std::vector<double> t = ReadDoubles(file, *times, kRetentionTimes);
        step = (t.back() - t.front()) / static_cast<double>(t.size() - 1);
        RequireFinite(step, kRetentionTimes, kRetentionTimes);
        for (std::size_t k = 0; k < t.size(); ++k) {
            RequireFinite(t[k], kRetentionTimes, kRetentionTimes);
            if (std::fabs(t[k] - (t.front() + static_cast<double>(k) * step)) > 0.01 * std::fabs(step))
                Refuse(kRetentionTimes, "raw_data_retention is not evenly spaced (point " +
                                            std::to_string(k + 1) +
                                            "); the calculations need a constant sampling interval");
        }
        if (!delay)
            start = t.front();
    }
    RequireFinite(start, kDelayTime, kDelayTime);
    RequireFinite(step, kSamplingInterval, kSamplingInterval);
    if (!(step > 0.0))
        Refuse(kSamplingInterval, "the sampling interval is not positive");
    signal.startTime = ToMinutes(start, minutesPerUnit);
    signal.step = ToMinutes(step, minutesPerUnit);
}

// One value per peak of a peak variable, or nothing when the variable is absent.
std::optional<std::vector<double>> PeakValues(const NcDataset& file, const char* name, std::size_t peaks) {
    const auto v = FindNumber(file, name);
    if (!v)
        return std::nullopt;
    if (v->shape.size() != 1 || v->count != peaks)
        Refuse(name, std::string("the variable ") + name + " has " + std::to_string(v->count) +
                         " values for " + std::to_string(peaks) + " peaks");
    return ReadDoubles(file, *v, name);
}

std::vector<std::string> PeakNames(const NcDataset& file, std::size_t peaks) {
    std::vector<std::string> names(peaks);
    const auto v = FindVariable(file, kPeakName);
    if (!v || peaks == 0)
        return names;
    if (v->type == NC_CHAR && v->shape.size() == 2 && v->shape[0] == peaks) {
        const std::size_t width = v->shape[1];
        std::string bytes(v->count, '\0');
        if (v->count > 0 && nc_get_var_text(file.id(), v->id, bytes.data()) != NC_NOERR)
            Refuse(kPeakName, "the peak names cannot be read");
        for (std::size_t i = 0; i < peaks; ++i) {
            std::string_view name(bytes.data() + i * width, width);
            names[i] = DecodeText(name.substr(0, name.find('\0')));
        }
        return names;
    }
    if (v->type == NC_STRING && v->shape.size() == 1 && v->shape[0] == peaks) {
        std::vector<char*> values(peaks, nullptr);
        if (nc_get_var_string(file.id(), v->id, values.data()) != NC_NOERR)
            Refuse(kPeakName, "the peak names cannot be read");
        for (std::size_t i = 0; i < peaks; ++i)
            names[i] = values[i] ? DecodeText(values[i]) : std::string();
        nc_free_string(peaks, values.data());
        return names;
    }
    Refuse(kPeakName, "peak_name is not one text per peak");
}

int ReadPeaks(const NcDataset& file, double minutesPerUnit, CPeeksTable& table) {
    table.clear();
    int peakDim = -1;
    if (nc_inq_dimid(file.id(), kPeakDim, &peakDim) != NC_NOERR)
        return 0;
    std::size_t peaks = 0;
    if (nc_inq_dimlen(file.id(), peakDim, &peaks) != NC_NOERR)
        Refuse(kPeakDim, "the peak count cannot be read");
    if (peaks > file.size())
        Refuse(kPeakDim, "the peak count claims more peaks than the file holds");
    const auto starts = PeakValues(file, kPeakStart, peaks);
    const auto ends = PeakValues(file, kPeakEnd, peaks);
    const auto areas = PeakValues(file, kPeakArea, peaks);
    const std::vector<std::string> names = PeakNames(file, peaks);
    const auto links = PeakValues(file, kPeakNextLinked, peaks);
    if (!starts || !ends)
        return static_cast<int>(peaks);
    // Links number the peaks as the file does; the kept peaks are numbered anew.
    std::vector<std::int32_t> keptIndex(peaks, -1);
    int leftOut = 0;
    for (std::size_t i = 0; i < peaks; ++i) {
        const double begin = (*starts)[i];
        const double end = (*ends)[i];
        if (IsMissing(begin) || IsMissing(end)) {
            ++leftOut;
            continue;
        }
        RequireFinite(begin, kPeakStart, "the start time of peak " + std::to_string(i + 1));
        RequireFinite(end, kPeakEnd, "the end time of peak " + std::to_string(i + 1));
        cmpeek p;
        p.index = static_cast<std::int32_t>(table.size());
        p.name = names[i];
        p.beginTime = ToMinutes(begin, minutesPerUnit);
        p.endTime = ToMinutes(end, minutesPerUnit);
        p.storedValue = areas && !IsMissing((*areas)[i]) ? (*areas)[i] : 0.0;
        keptIndex[i] = p.index;
        table.push_back(std::move(p));
    }
    if (links) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < peaks; ++i) {
            if (keptIndex[i] < 0)
                continue;
            const double next = (*links)[i];
            // A link to a peak outside the table or left out is no link; RecomputePeaks resolves the rest.
            if (next >= 0 && next < static_cast<double>(peaks))
                table[kept].nextLinked = keptIndex[static_cast<std::size_t>(next)];
            ++kept;
        }
    }
    return leftOut;
}

// Reads the whole file under a shared, non-blocking lock: readers never stop each other, a writer holding
// the file makes the read fail.
std::vector<std::uint8_t> ReadLockedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        errno == ENOENT || errno == ENOTDIR ? RefuseFile(ReadProblem::Missing, {})
                                            : RefuseFile(ReadProblem::Unreadable, std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        RefuseFile(ReadProblem::NotChromatogram, "not a regular file");
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        errno == EWOULDBLOCK
            ? RefuseFile(ReadProblem::Held, {})
            : RefuseFile(ReadProblem::Unreadable, std::string("cannot lock: ") + std::strerror(errno));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            RefuseFile(ReadProblem::Unreadable, std::strerror(errno));
        if (n == 0)
            break; // shrunk while being read: what is there is what the file holds
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

template <typename Work> ReadResult Guarded(Work&& work) {
    try {
        ReadResult result = ReadResult::Success();
        result.peaksLeftOut = work();
        return result;
    } catch (const Refusal& e) {
        return ReadResult::Failure(e.problem, e.what(), e.part);
    } catch (const std::invalid_argument&) {
        // CLattice::ValueAt: a peak table on fewer than two points.
        return ReadResult::Failure(ReadProblem::Damaged, "the signal has fewer than two points for its peaks",
                                   kSignal);
    } catch (const std::bad_alloc&) {
        return ReadResult::Failure(ReadProblem::Unreadable, "too large for the memory");
    } catch (const std::exception& e) {
        return ReadResult::Failure(ReadProblem::Damaged, e.what());
    }
}

int LoadFromMemory(std::span<const std::uint8_t> bytes, CChmFile& chm) {
    const NcDataset file(bytes);
    const double minutesPerUnit = MinutesPerUnit(file.id());
    ReadSignal(file, minutesPerUnit, chm.signal);
    ReadPassport(file, minutesPerUnit, chm.passport);
    const int leftOut = ReadPeaks(file, minutesPerUnit, chm.peaks);
    chm.peaks.RecomputePeaks(chm.signal);
    return leftOut;
}

} // namespace

ReadResult LoadAndiMemory(std::span<const std::uint8_t> bytes, CChmFile& chm) {
    return Guarded([&] { return LoadFromMemory(bytes, chm); });
}

ReadResult LoadAndiFile(const std::string& path, CChmFile& chm) {
    ReadResult result = Guarded([&] { return LoadFromMemory(ReadLockedFile(path), chm); });
    if (result.ok)
        chm.passport.path = path;
    return result;
}

ReadResult ReadAndiPassportFile(const std::string& path, CPassport& passport) {
    ReadResult result = Guarded([&] {
        const std::vector<std::uint8_t> bytes = ReadLockedFile(path);
        const NcDataset file(bytes);
        ReadPassport(file, MinutesPerUnit(file.id()), passport);
        return 0;
    });
    if (result.ok)
        passport.path = path;
    return result;
}

} // namespace talvex
