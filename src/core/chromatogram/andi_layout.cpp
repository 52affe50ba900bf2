#include "core/chromatogram/andi_layout.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace talvex::andi {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint32_t kDimensionTag = 0x0A;
constexpr std::uint32_t kVariableTag = 0x0B;
constexpr std::uint32_t kAttributeTag = 0x0C;

[[noreturn]] void Bad(const std::string& what) {
    throw std::runtime_error("not a readable netCDF file: " + what);
}

std::uint64_t Product(std::uint64_t a, std::uint64_t b) {
    return a != 0 && b > kMax / a ? kMax : a * b;
}

std::uint64_t Padded(std::uint64_t n) {
    return n > kMax - 3 ? kMax : (n + 3) / 4 * 4;
}

class Header {
public:
    Header(std::span<const std::uint8_t> bytes, int version)
        : bytes_(bytes), count_(version == 5 ? 8 : 4), offset_(version == 1 ? 4 : 8), version_(version) {}

    std::uint64_t Number(std::size_t size) {
        if (size > Left())
            Bad("the header runs past the end of the file");
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < size; ++i)
            v = v << 8 | bytes_[pos_ + i];
        pos_ += size;
        return v;
    }
    std::uint64_t Count() { return Number(count_); }
    std::uint64_t Offset() { return Number(offset_); }
    void Skip(std::uint64_t n, const char* what) {
        if (n > Left())
            Bad(std::string(what) + " runs past the end of the file");
        pos_ += static_cast<std::size_t>(n);
    }
    void Name() { Skip(Padded(Count()), "a name"); }
    // A list's tag and element count; every element takes at least `minimum` bytes of the header.
    std::uint64_t List(std::uint32_t tag, std::uint64_t minimum) {
        const std::uint64_t t = Number(4);
        const std::uint64_t n = Count();
        if ((t != tag && t != 0) || (t == 0 && n != 0))
            Bad("the header is malformed");
        if (n > Left() / minimum)
            Bad("the header claims more entries than the file holds");
        return n;
    }
    nc_type Type() {
        const std::uint64_t t = Number(4);
        if (t < NC_BYTE || t > (version_ == 5 ? NC_UINT64 : NC_DOUBLE))
            Bad("unknown value type " + std::to_string(t));
        return static_cast<nc_type>(t);
    }
    void Attributes() {
        const std::uint64_t n = List(kAttributeTag, count_ + 4 + count_);
        for (std::uint64_t i = 0; i < n; ++i) {
            Name();
            const nc_type type = Type();
            Skip(Padded(Product(Count(), TypeSize(type))), "an attribute");
        }
    }
    std::size_t CountSize() const { return count_; }

private:
    std::size_t Left() const { return bytes_.size() - pos_; }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 4; // after the magic number
    std::size_t count_;
    std::size_t offset_;
    int version_;
};

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

std::uint64_t CheckClassicHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 'C' || bytes[1] != 'D' || bytes[2] != 'F' ||
        (bytes[3] != 1 && bytes[3] != 2 && bytes[3] != 5))
        Bad("no netCDF signature");
    Header h(bytes, bytes[3]);
    const std::uint64_t streaming = h.CountSize() == 4 ? 0xFFFFFFFFu : kMax;
    std::uint64_t records = h.Count();
    if (records == streaming) // written by a stream that never came back to count them
        records = 0;

    const std::uint64_t ndims = h.List(kDimensionTag, 2 * h.CountSize());
    std::vector<std::uint64_t> lengths;
    std::int64_t unlimited = -1;
    for (std::uint64_t d = 0; d < ndims; ++d) {
        h.Name();
        lengths.push_back(h.Count());
        if (lengths.back() == 0) {
            if (unlimited >= 0)
                Bad("two unlimited dimensions");
            unlimited = static_cast<std::int64_t>(d);
        }
    }
    h.Attributes();

    const std::uint64_t nvars = h.List(kVariableTag, 4 * h.CountSize() + 4);
    std::uint64_t end = 0;
    for (std::uint64_t v = 0; v < nvars; ++v) {
        h.Name();
        const std::uint64_t rank = h.Count();
        if (rank > 1024)
            Bad("a variable has more than 1024 dimensions");
        std::uint64_t values = 1;
        for (std::uint64_t k = 0; k < rank; ++k) {
            const std::uint64_t id = h.Count();
            if (id >= ndims)
                Bad("a variable names a dimension that does not exist");
            values = Product(values, static_cast<std::int64_t>(id) == unlimited ? records : lengths[id]);
        }
        h.Attributes();
        const nc_type type = h.Type();
        h.Count(); // the padded size, which netCDF works out again
        const std::uint64_t begin = h.Offset();
        const std::uint64_t size = Product(values, TypeSize(type));
        if (size > 0)
            end = std::max(end, size > kMax - begin ? kMax : begin + size);
    }
    return end;
}

} // namespace talvex::andi
