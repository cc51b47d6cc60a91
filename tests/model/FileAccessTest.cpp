#include "model/FileAccess.h"
#include "model/FileError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kvl;
using kvl::test::ReadBytes;
using kvl::test::TTempDir;
using kvl::test::WriteBytes;

namespace {

// Makes every write beyond `bytes` fail with EFBIG, as a full disk would fail a
// save half way, until the object goes.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &Old);
        rlimit limit = Old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldHandler);
    }

private:
    rlimit Old{};
    void (*OldHandler)(int) = nullptr;
};

} // namespace

TEST(FileAccess, ReplacesTheFileAndKeepsItsPermissions) {
    TTempDir dir;
    const std::string path = dir.Path("boat.ini");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    WriteFileAtomically(path, "new\r\n\xE9");
    EXPECT_EQ(ReadBytes(path), "new\r\n\xE9");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(FileAccess, AWriteThatFailsHalfWayLeavesTheOldFileByteIdentical) {
    TTempDir dir;
    const std::string path = dir.Path("boat.ini");
    const std::string old = "[Configuration]\r\nBaud In1=2\r\n";
    WriteBytes(path, old);
    {
        TFileSizeLimit limit(100);
        try {
            WriteFileAtomically(path, std::string(5000, 'x'));
            FAIL() << "the write did not fail";
        } catch (const EFileError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + path + "\rFile too large");
        }
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.FileCount(), 1u); // no temporary file left behind
}

TEST(FileAccess, AFolderThatDoesNotExistGivesAWriteError) {
    TTempDir dir;
    EXPECT_THROW(WriteFileAtomically(dir.Path("none/boat.ini"), "x"), EFileError);
}
