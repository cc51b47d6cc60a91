#include "link/PortList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace kvl;

namespace {

int Enumerations = 0;

std::vector<TSerialPortEntry> CountedEnumeration() {
    ++Enumerations;
    return {{"USB Serial Port (ttyUSB0)", "/dev/ttyUSB0"}};
}

} // namespace

// The costly enumeration runs when a device node came or went, and once more
// after that; a quiet device folder costs one stat a poll.
TEST(SerialPortPollTest, EnumeratesOnlyWhenTheDeviceFolderChanged) {
    char folder[] = "/tmp/kvl-dev-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    Enumerations = 0;
    TSerialPortPoll poll(folder, CountedEnumeration);
    EXPECT_EQ(poll().size(), 1u);
    EXPECT_EQ(Enumerations, 1);
    poll(); // settling: the system may describe a new device a moment later
    EXPECT_EQ(Enumerations, 2);
    EXPECT_EQ(poll().size(), 1u); // nothing changed: the last list
    poll();
    EXPECT_EQ(Enumerations, 2);

    const std::string node = std::string(folder) + "/ttyUSB1";
    std::FILE* file = std::fopen(node.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    poll();
    EXPECT_EQ(Enumerations, 3);
    poll();
    EXPECT_EQ(Enumerations, 4);
    poll();
    EXPECT_EQ(Enumerations, 4);
    ::unlink(node.c_str());
    poll();
    EXPECT_EQ(Enumerations, 5);
    ::rmdir(folder);
}
