#include "link/LineFraming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvl;

namespace {

std::vector<std::string> Frame(TLineFraming& framing, const std::string& bytes) {
    std::vector<std::string> lines;
    framing.FeedAll(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                    [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

std::vector<std::string> Frame(const std::string& bytes) {
    TLineFraming framing;
    return Frame(framing, bytes);
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineFraming, QueuesLinesFromTheirStartCharacter) {
    EXPECT_EQ(Frame("noise$GPGGA,1\r\n"), Lines{"$GPGGA,1"});
    EXPECT_EQ(Frame("!AIVDM,1\r\n$GPGLL,2\r\n"), (Lines{"!AIVDM,1", "$GPGLL,2"}));
    EXPECT_EQ(Frame("\\s:AB12-1*00\\$GPGLL,1\r\n"), Lines{"\\s:AB12-1*00\\$GPGLL,1"});
    EXPECT_EQ(Frame(std::string("$A,\0\x01\xFF,b\r\n", 10)), Lines{std::string("$A,\0\x01\xFF,b", 8)});
}

TEST(LineFraming, EmptyAndBrokenEndingsQueueNothing) {
    EXPECT_TRUE(Frame("\r\n").empty());
    EXPECT_TRUE(Frame("\n").empty());
    EXPECT_TRUE(Frame("$GPGGA,1\n").empty()); // LF without CR is part of the line
    // CR followed by '$' loses the line and that '$'; the next line counts from its own start.
    EXPECT_EQ(Frame("$GPGGA,1\r$GPGLL,2\r\n$GPRMC,3\r\n"), Lines{"$GPRMC,3"});
}

TEST(LineFraming, StartCharacterInsideALineIsOrdinary) {
    EXPECT_EQ(Frame("$GP$GGA!\\,1\r\n"), Lines{"$GP$GGA!\\,1"});
}

TEST(LineFraming, LinesUpTo255CharactersPass) {
    const std::string longest = "$" + std::string(254, 'A');
    EXPECT_EQ(Frame(longest + "\r\n"), Lines{longest});
    const std::string tooLong = "$" + std::string(255, 'A');
    EXPECT_TRUE(Frame(tooLong + "\r\n").empty());
    // After an over-long line the framing waits for the next start character.
    EXPECT_EQ(Frame(tooLong + "B\r\n$OK\r\n"), Lines{"$OK"});
}

TEST(LineFraming, ALineMaySpanSeveralFeedsAndResetDropsIt) {
    TLineFraming framing;
    EXPECT_TRUE(Frame(framing, "$GPG").empty());
    EXPECT_EQ(Frame(framing, "GA,1\r\n"), Lines{"$GPGGA,1"});
    EXPECT_TRUE(Frame(framing, "$PART").empty());
    framing.Reset();
    EXPECT_EQ(Frame(framing, "IAL\r\n$NEXT\r\n"), Lines{"$NEXT"});
}
