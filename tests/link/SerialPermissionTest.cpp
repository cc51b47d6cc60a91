#include "link/SerialPermission.h"
#include "link/Comms.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace kvl;

TEST(SerialPermissionTest, NoPermissionNamesTheDevicesGroupAndTheCure) {
    EXPECT_EQ(SerialPermissionHint(EACCES, "dialout"),
              "You have no permission to use it: add your user to the group \"dialout\" (sudo usermod -aG "
              "dialout $USER), then log out and log in again.");
    EXPECT_EQ(SerialPermissionHint(EPERM, "uucp"),
              "You have no permission to use it: add your user to the group \"uucp\" (sudo usermod -aG uucp "
              "$USER), then log out and log in again.");
    EXPECT_EQ(SerialPermissionHint(EACCES, ""), SerialPermissionHint(EACCES, "dialout"));
    for (const int other : {ENOENT, EBUSY, EWOULDBLOCK, ENOTTY, 0})
        EXPECT_EQ(SerialPermissionHint(other, "dialout"), "") << other;
}

TEST(SerialPermissionTest, GroupIsTheDeviceFilesOwnerGroup) {
    char path[] = "/tmp/kvl-group-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // Hand the file to another group where the system lets us (root may).
    std::string expected;
    for (const char* name : {"dialout", "uucp", "daemon"}) {
        const group* entry = ::getgrnam(name);
        if (entry != nullptr && ::chown(path, static_cast<uid_t>(-1), entry->gr_gid) == 0) {
            expected = name;
            break;
        }
    }
    if (expected.empty())
        expected = ::getgrgid(::getegid())->gr_name;
    EXPECT_EQ(SerialDeviceGroup(path), expected);
    ::unlink(path);
    EXPECT_EQ(SerialDeviceGroup(path), "");
}

// A device the user may not open: the link keeps the reason. Root may open
// anything, so this only runs for other users.
TEST(SerialPermissionTest, LinkKeepsTheReasonAnOpenFailed) {
    char path[] = "/tmp/kvl-denied-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ::chmod(path, 0);
    TComm link;
    EXPECT_EQ(link.OpenPort(TCommMode::cmSerial, "/tmp/kvl-no-such-device", 7), TCommMode::cmClosed);
    EXPECT_EQ(link.SerialOpenError(), ENOENT);
    const bool root = ::geteuid() == 0;
    if (!root) {
        EXPECT_EQ(link.OpenPort(TCommMode::cmSerial, path, 7), TCommMode::cmClosed);
        EXPECT_EQ(link.SerialOpenError(), EACCES);
    }
    ::unlink(path);
    if (root)
        GTEST_SKIP() << "root opens any file: the permission case needs another user";
}
