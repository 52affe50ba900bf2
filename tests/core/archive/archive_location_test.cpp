#include "core/archive/archive.h"
#include "core/archive/archive_location.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvex {
namespace {

using namespace archive;

TEST(NetworkFileSystem, RefusedByTheFileSystemType) {
    struct Case {
        unsigned long type;
        const char* network; // nullptr for a local file system
    };
    const Case cases[] = {{0x6969, "NFS"},
                          {0x517B, "SMB"},
                          {0xFF534D42, "CIFS"},
                          {0xFE534D42, "SMB2"},
                          {0x65735546, "FUSE"},
                          {0x564C, "NCP"},
                          {0x01021997, "9P"},
                          {0x00C36400, "Ceph"},
                          {0xEF53, nullptr} /*ext4*/,
                          {0x58465342, nullptr} /*xfs*/,
                          {0x9123683E, nullptr} /*btrfs*/,
                          {0x01021994, nullptr} /*tmpfs*/,
                          {0x2FC12FC1, nullptr} /*zfs*/,
                          {0, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const auto name = NetworkFileSystemName(c.type);
        if (c.network) {
            ASSERT_TRUE(name);
            EXPECT_THAT(*name, ::testing::StartsWith(c.network));
        } else {
            EXPECT_FALSE(name) << *name;
        }
    }
    const std::string message = NetworkArchiveRefusal("NFS");
    EXPECT_THAT(message, ::testing::StartsWith("Архив SQLite нельзя держать на сетевом диске (NFS)"));
    EXPECT_THAT(message, ::testing::HasSubstr("PostgreSQL"));
    // The test folder is local: an archive there opens.
    const testing::TempFolder folder;
    EXPECT_FALSE(NetworkFileSystemOf(folder / "not-yet" / "archive.sqlite"));
}

TEST(ArchiveLocation, UrlForms) {
    struct Case {
        const char* url;
        bool postgresql;
        const char* target;
    };
    const Case cases[] = {{"/var/lab/archive.sqlite", false, "/var/lab/archive.sqlite"},
                          {"sqlite:/var/lab/a.sqlite", false, "/var/lab/a.sqlite"},
                          {"sqlite:relative.sqlite", false, "relative.sqlite"},
                          {"postgresql://lab@server/archive", true, "postgresql://lab@server/archive"},
                          {"postgres://server/archive", true, "postgres://server/archive"},
                          {"postgresql:", true, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const ArchiveLocation where = ParseArchiveUrl(c.url);
        EXPECT_EQ(where.postgresql, c.postgresql);
        EXPECT_EQ(where.target, c.target);
    }
    EXPECT_EQ(DefaultArchivePath("/x/data", "/home/u"), "/x/data/talvex/archive.sqlite");
    EXPECT_EQ(DefaultArchivePath("", "/home/u"), "/home/u/.local/share/talvex/archive.sqlite");
    EXPECT_EQ(DefaultSpoolFolder(nullptr, "/home/u"), "/home/u/.local/share/talvex/archive-spool");
}

TEST(ArchiveLocation, ANonDatabaseFileIsAnErrorNotACrash) {
    const testing::TempFolder folder;
    const auto file = folder.Write("notes.sqlite", std::string(4096, 'x'));
    std::string error;
    EXPECT_FALSE(Archive::Open(file.string(), error));
    EXPECT_THAT(error, ::testing::HasSubstr("недоступен"));
    EXPECT_EQ(testing::ReadBytes(file), std::string(4096, 'x'));
}

} // namespace
} // namespace talvex

namespace talvex {
namespace {

TEST(ArchiveChartSource, AFailedQueryIsNamedNotPassedOffAsAnEmptySeries) {
    const testing::TempFolder folder;
    const std::string file = (folder / "archive.sqlite").string();
    std::string error;
    auto archive = archive::Archive::Open(file, error);
    ASSERT_TRUE(archive) << error;
    const controlchart::SeriesKey key{controlchart::ControlKind::Okp, controlchart::ControlMedium::Gas, "A",
                                      "C6"};
    EXPECT_TRUE(archive->Phases(key).empty());
    EXPECT_EQ(archive->LastError(), "");
    // A table gone from under the program (a hand-edited file).
    archive::OpenSqlite(file, false)->Script("DROP TABLE phases");
    EXPECT_TRUE(archive->Phases(key).empty());
    EXPECT_THAT(archive->LastError(), ::testing::HasSubstr("phases"));
}

} // namespace
} // namespace talvex
