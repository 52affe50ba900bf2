#include "core/common/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace talvex {
namespace {

struct DigestCase {
    std::string input;
    const char* hex;
};

// The published test vectors of the algorithm, and one input longer than a single block.
TEST(Sha256, MatchesTheKnownDigests) {
    const DigestCase cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const DigestCase& c : cases) {
        EXPECT_EQ(Sha256Hex(c.input), c.hex) << c.input.size() << " bytes";
    }
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
    Sha256 digest;
    digest.Update("ab");
    digest.Update("");
    digest.Update("c");
    EXPECT_EQ(digest.HexDigest(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Sha256, HashesAFileLargerThanItsReadBufferAndReportsAMissingOne) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("sha256_test_" + std::to_string(::getpid()) + ".bin");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string chunk(1000, 'a');
        for (int i = 0; i < 3000; ++i) {
            out << chunk;
        }
    }
    EXPECT_EQ(Sha256OfFile(path.string()), Sha256Hex(std::string(3000000, 'a')));
    std::filesystem::remove(path);

    std::string error;
    EXPECT_FALSE(Sha256OfFile(path.string(), &error).has_value());
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace talvex
