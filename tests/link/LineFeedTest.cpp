// A line feed without its carriage return inside a line breaks that line: the line
// is dropped and the next one is received from its own start character, so no
// queued line ever holds a line break.
#include "link/LineFraming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvl;

namespace {

std::vector<std::string> FrameAll(const std::string& bytes) {
    TLineFraming framing;
    std::vector<std::string> lines;
    framing.FeedAll(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                    [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

} // namespace

TEST(LineFeed, ALineEndedByLineFeedAloneIsDropped) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(FrameAll("$GPRMC,1*6A\n$GPGGA,2*47\r\n"), Lines{"$GPGGA,2*47"});
    EXPECT_EQ(FrameAll("$A,1\n\r\n$B,2\r\n"), Lines{"$B,2"});
    EXPECT_EQ(FrameAll("\\s:AB12-1\\$GPGLL\n,1\r\n!AIVDM,x\r\n"), Lines{"!AIVDM,x"});
}
