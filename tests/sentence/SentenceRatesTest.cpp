#include "sentence/SentenceRates.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace kvl;
using namespace std::chrono_literals;

namespace {

constexpr const char* kUid = "BOAT1";

std::string Hex(const std::string& body) {
    unsigned sum = 0;
    for (const char c : body)
        sum ^= static_cast<unsigned char>(c);
    char text[3];
    std::snprintf(text, sizeof text, "%02X", sum);
    return text;
}

// "$GPRMC,1" with its checksum, behind a TAG block with the given source parameter.
std::string Line(const std::string& sentence, const std::string& source = {}) {
    std::string line;
    if (!source.empty())
        line = "\\" + source + "*" + Hex(source) + "\\";
    return line + sentence + "*" + Hex(sentence.substr(1));
}

class SentenceRatesTest : public testing::Test {
protected:
    void Feed(const std::string& line, TSentenceRates::Clock::duration at) {
        Rates.Add(TSentence(line, kUid), Start + at);
    }
    TSentenceRates::TRow Row(TSentenceRates::Clock::duration now, std::size_t index = 0) {
        const auto rows = Rates.Snapshot(Start + now);
        EXPECT_LT(index, rows.size());
        return index < rows.size() ? rows[index] : TSentenceRates::TRow{};
    }

    TSentenceRates::Clock::time_point Start = TSentenceRates::Clock::time_point{} + 1000s;
    TSentenceRates Rates;
};

TEST_F(SentenceRatesTest, RateOverTheLastTenSeconds) {
    struct Case {
        std::chrono::milliseconds period;
        int lines;
        std::chrono::milliseconds lookAfterLast;
        double rate;
    };
    const Case cases[] = {
        {1000ms, 30, 500ms, 1.0},  // once a second, looked at between two lines
        {100ms, 300, 50ms, 10.0},  // ten a second
        {1000ms, 3, 0ms, 1.0},     // from the second line on
        {1000ms, 30, 4500ms, 0.6}, // fallen silent: the time since the last line counts
        {100ms, 50, 11s, 0.0},     // silent for longer than the window
        {100ms, 1, 0ms, 0.0},      // one line tells no rate
    };
    for (const Case& c : cases) {
        Rates.Reset();
        for (int i = 0; i < c.lines; ++i)
            Feed(Line("$GPRMC,1", "s:BOAT1-1"), c.period * i);
        const auto last = c.period * (c.lines - 1);
        EXPECT_NEAR(Row(last + c.lookAfterLast).Rate, c.rate, c.rate * 0.05 + 0.01)
            << c.period.count() << " ms x " << c.lines;
    }
}

TEST_F(SentenceRatesTest, IntervalsCountAndLastText) {
    Feed(Line("$IIMWV,1"), 0ms);
    Feed(Line("$IIMWV,2"), 100ms);
    Feed(Line("$IIMWV,3"), 350ms);
    const auto row = Row(400ms);
    EXPECT_EQ(row.Count, 3u);
    EXPECT_EQ(row.MinInterval, 100ms);
    EXPECT_EQ(row.MaxInterval, 250ms);
    EXPECT_EQ(row.LastSeen, Start + 350ms);
    EXPECT_EQ(row.LastText, Line("$IIMWV,3"));
    EXPECT_EQ(row.Address, "IIMWV");
    Feed(Line("$GPGLL,1"), 500ms);
    EXPECT_FALSE(Row(500ms).HasIntervals());
}

TEST_F(SentenceRatesTest, EverySourceTagMakesItsOwnRow) {
    struct Case {
        std::string source;
        TSource kind;
        std::uint8_t id;
    };
    const Case cases[] = {
        {"s:BOAT1-0", TSource::SrcN0183, 0}, {"s:BOAT1-1", TSource::SrcN0183, 1},
        {"s:BOAT1-4", TSource::SrcN0183, 4}, {"s:BOAT1-5", TSource::SrcN0183, 5},
        {"s:BOAT1#0B", TSource::SrcN2K, 11}, {"s:BOAT1=66", TSource::SrcN2K, 66},
        {"", TSource::SrcNone, 0},
    };
    for (const Case& c : cases) {
        Rates.Reset();
        Feed(Line("$GPRMC,1", c.source), 0ms);
        Feed(Line("$GPRMC,1", c.source), 1s);
        const auto row = Row(1s);
        EXPECT_EQ(row.Source, c.kind) << c.source;
        EXPECT_EQ(row.SourceId, c.id) << c.source;
        EXPECT_EQ(row.Count, 2u) << c.source;
    }
    Rates.Reset();
    for (const Case& c : cases)
        Feed(Line("$GPRMC,1", c.source), 0ms);
    EXPECT_EQ(Rates.RowCount(), std::size(cases));
}

TEST_F(SentenceRatesTest, ChecksumFaultsAreCountedApart) {
    Feed(Line("$GPRMC,1", "s:BOAT1-1"), 0ms);
    Feed("\\s:BOAT1-1*00\\" + Line("$GPRMC,1"), 1s); // TAG block checksum wrong
    Feed("\\s:BOAT1-1*" + Hex("s:BOAT1-1") + "\\$GPRMC,1*00", 2s); // sentence checksum wrong
    const auto row = Row(2s);
    EXPECT_EQ(row.Count, 3u);
    EXPECT_EQ(row.TagChecksumErrors, 1u);
    EXPECT_EQ(row.ChecksumErrors, 1u);
    EXPECT_EQ(row.Errors(), 2u);
}

TEST_F(SentenceRatesTest, RowsAreBoundedAndTheLongestSilentGoesFirst) {
    TSentenceRates bounded(3);
    const auto at = [&](std::chrono::milliseconds t) { return Start + t; };
    bounded.Add(TSentence(Line("$GPAAA,1"), kUid), at(0ms));
    bounded.Add(TSentence(Line("$GPBBB,1"), kUid), at(1ms));
    bounded.Add(TSentence(Line("$GPCCC,1"), kUid), at(2ms));
    bounded.Add(TSentence(Line("$GPAAA,1"), kUid), at(3ms)); // heard again: BBB is now the oldest
    bounded.Add(TSentence(Line("$GPDDD,1"), kUid), at(4ms));
    std::vector<std::string> addresses;
    for (const auto& row : bounded.Snapshot(at(5ms)))
        addresses.push_back(row.Address);
    EXPECT_EQ(addresses, (std::vector<std::string>{"GPDDD", "GPAAA", "GPCCC"}));
    bounded.Add(TSentence(Line("$GPBBB,1"), kUid), at(6ms)); // comes back as a new row
    EXPECT_EQ(bounded.Snapshot(at(6ms)).front().Count, 1u);
    EXPECT_EQ(bounded.RowCount(), 3u);
}

} // namespace
