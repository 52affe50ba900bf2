#include "core/common/sha256.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace talvex {

namespace {

EVP_MD_CTX* Context(void* context) {
    return static_cast<EVP_MD_CTX*>(context);
}

} // namespace

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
    if (context_ == nullptr || EVP_DigestInit_ex(Context(context_), EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(Context(context_));
        throw std::runtime_error("SHA-256 is not available");
    }
}

Sha256::~Sha256() {
    EVP_MD_CTX_free(Context(context_));
}

void Sha256::Update(const void* data, std::size_t size) {
    if (size > 0) {
        EVP_DigestUpdate(Context(context_), data, size);
    }
}

std::string Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(Context(context_), digest, &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hex.push_back(kHex[digest[i] >> 4]);
        hex.push_back(kHex[digest[i] & 0x0f]);
    }
    return hex;
}

std::string Sha256Hex(std::string_view bytes) {
    Sha256 digest;
    digest.Update(bytes);
    return digest.HexDigest();
}

std::optional<std::string> Sha256OfFile(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) {
            *error = std::strerror(errno);
        }
        return std::nullopt;
    }
    Sha256 digest;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            if (error != nullptr) {
                *error = std::strerror(errno);
            }
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        digest.Update(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return digest.HexDigest();
}

} // namespace talvex
