// The byte layout of a classic netCDF header, walked field by field: netCDF itself neither tells where a
// variable's values start nor refuses a file whose values are cut off (it reads them as zeros).
#include "chromatogram/andi_layout.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace talvex::andi {
namespace {

std::uint64_t Padded(std::uint64_t n) {
    return (n + 3) / 4 * 4;
}

} // namespace

std::size_t TypeSize(nc_type t) {
    switch (t) {
    case NC_SHORT:
    case NC_USHORT:
        return 2;
    case NC_INT:
    case NC_UINT:
    case NC_FLOAT:
        return 4;
    case NC_INT64:
    case NC_UINT64:
    case NC_DOUBLE:
        return 8;
    default:
        return 1;
    }
}

std::uint64_t ClassicDataEnd(std::span<const std::uint8_t> bytes, int ncid, int format) {
    const std::uint64_t n = format == NC_FORMAT_CDF5 ? 8 : 4;
    const std::uint64_t beginSize = format == NC_FORMAT_CLASSIC ? 4 : 8;
    std::uint64_t pos = 4 + n; // magic, number of records
    const auto name = [&](const char* text) { pos += n + Padded(std::strlen(text)); };
    const auto fail = [] { throw std::runtime_error("the file's header cannot be read"); };
    const auto attributes = [&](int varid, int count) {
        pos += 4 + n;
        char attName[NC_MAX_NAME + 1];
        for (int a = 0; a < count; ++a) {
            nc_type type = NC_NAT;
            std::size_t length = 0;
            if (nc_inq_attname(ncid, varid, a, attName) != NC_NOERR ||
                nc_inq_att(ncid, varid, attName, &type, &length) != NC_NOERR)
                fail();
            name(attName);
            pos += 4 + n + Padded(static_cast<std::uint64_t>(length) * TypeSize(type));
        }
    };
    int ndims = 0, nvars = 0, ngatts = 0, unlimited = -1;
    if (nc_inq(ncid, &ndims, &nvars, &ngatts, &unlimited) != NC_NOERR)
        fail();
    char text[NC_MAX_NAME + 1];
    pos += 4 + n;
    std::size_t records = 0;
    for (int d = 0; d < ndims; ++d) {
        std::size_t length = 0;
        if (nc_inq_dim(ncid, d, text, &length) != NC_NOERR)
            fail();
        name(text);
        pos += n;
        if (d == unlimited)
            records = length;
    }
    attributes(NC_GLOBAL, ngatts);
    pos += 4 + n;
    std::uint64_t end = 0;
    for (int v = 0; v < nvars; ++v) {
        nc_type type = NC_NAT;
        int vdims = 0, natts = 0;
        int dims[NC_MAX_VAR_DIMS];
        if (nc_inq_var(ncid, v, text, &type, &vdims, dims, &natts) != NC_NOERR)
            fail();
        name(text);
        pos += n + static_cast<std::uint64_t>(vdims) * n;
        attributes(v, natts);
        pos += 4 + n; // type, size
        if (pos + beginSize > bytes.size())
            fail();
        std::uint64_t begin = 0;
        for (std::uint64_t k = 0; k < beginSize; ++k)
            begin = begin << 8 | bytes[pos + k];
        pos += beginSize;
        std::uint64_t values = TypeSize(type);
        for (int k = 0; k < vdims; ++k) {
            std::size_t length = dims[k] == unlimited ? records : 0;
            if (dims[k] != unlimited && nc_inq_dimlen(ncid, dims[k], &length) != NC_NOERR)
                fail();
            values = length == 0 ? 0 : (values > UINT64_MAX / length ? UINT64_MAX : values * length);
        }
        if (values > 0)
            end = std::max(end, values > UINT64_MAX - begin ? UINT64_MAX : begin + values);
    }
    return end;
}

} // namespace talvex::andi
