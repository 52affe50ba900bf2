#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvex {

// SHA-256 digests as 64 lower-case hex digits: what a session, a provenance record and the results
// archive store to prove which bytes a result was computed from.

// Incremental digest: feed the bytes in any number of pieces, then take the hex digest once.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Update(const void* data, std::size_t size);
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
    // The digest of everything fed so far; the object is spent afterwards.
    std::string HexDigest();

private:
    void* context_; // the library's digest context
};

// The digest of a byte string.
std::string Sha256Hex(std::string_view bytes);

// The digest of a file's whole content, read in bounded pieces (memory does not grow with the file).
// Empty when the file cannot be opened or read; `error` (when given) then says why.
std::optional<std::string> Sha256OfFile(const std::string& path, std::string* error = nullptr);

} // namespace talvex
