// The NMEA traffic the device forwards to its host.
#include "SimFixture.h"
#include "TrafficGenerator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace simtest;

namespace {

kvl::sim::SimOptions Busy(double rate) {
    auto options = Quiet();
    options.trafficRate = rate;
    return options;
}

// Sets the option word (with TAG blocks on); the device's answer now carries a TAG block too.
bool SwitchTagBlocksOn(TcpDevice& device, const std::string& options) {
    device.Host->Send("$PQZXOP,C," + options);
    return device.Host
        ->WaitFor([&](const std::string& l) { return l.ends_with(OnWire("$PQZXOP,R," + options)); })
        .has_value();
}

// The next n traffic lines (anything not from the device itself).
std::vector<std::string> Traffic(WireClient& host, std::size_t n) {
    std::vector<std::string> lines;
    while (lines.size() < n) {
        const auto line = host.WaitFor([](const std::string& l) { return SentenceOf(l).find("PQZX") != 1; });
        if (!line)
            break;
        lines.push_back(*line);
    }
    return lines;
}

bool AllOf(const std::string& text, const char* allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

// The source parameter of "\s:KV3SIM<source>*hh\" when the block has that form: "-1" .. "-5",
// "#" and two hex digits or "=" and up to three decimal digits.
std::optional<std::string> SourceOf(const std::string& tag) {
    const std::string head = "\\s:KV3SIM";
    const auto star = tag.find('*');
    if (!StartsWith(tag, head) || star == std::string::npos || star + 4 != tag.size() || tag.back() != '\\')
        return std::nullopt;
    if (!AllOf(tag.substr(star + 1, 2), "0123456789ABCDEF"))
        return std::nullopt;
    const std::string source = tag.substr(head.size(), star - head.size());
    if (source.empty())
        return std::nullopt;
    const std::string value = source.substr(1);
    const bool ok =
        (source.size() == 2 && source[0] == '-' && AllOf(value, "12345")) ||
        (source.size() == 3 && source[0] == '#' && AllOf(value, "0123456789ABCDEF")) ||
        (source.size() >= 2 && source.size() <= 4 && source[0] == '=' && AllOf(value, "0123456789"));
    return ok ? std::optional<std::string>(source) : std::nullopt;
}

bool IsSixBitText(const std::string& payload) {
    for (const char c : payload)
        if (!((c >= '0' && c <= 'W') || (c >= '`' && c <= 'w')))
            return false;
    return !payload.empty();
}

} // namespace

TEST(Traffic, EveryLineIsAWholeSentenceWithTheRightChecksum) {
    TcpDevice device(Busy(200));
    const auto lines = Traffic(*device.Host, 60);
    ASSERT_EQ(lines.size(), 60u);
    std::set<std::string> kinds;
    for (const auto& line : lines) {
        EXPECT_TRUE(ChecksumsRight(line)) << line;
        EXPECT_TRUE(TagOf(line).empty()) << "TAG blocks are off at the factory: " << line;
        const auto fields = FieldsOf(line);
        ASSERT_GE(fields[0].size(), 6u) << line;
        kinds.insert(fields[0].substr(3));
        if (fields[0] == "!AIVDM") {
            ASSERT_EQ(fields.size(), 7u) << line;
            EXPECT_TRUE(IsSixBitText(fields[5])) << line;
        }
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"RMC", "GGA", "MWV", "DPT", "DBT", "HDG", "HDT", "VDM", "VHW"}));
    EXPECT_EQ(device.Host->BadLineEnds(), 0u);
}

TEST(Traffic, AisReportsTakeTurnsOnEveryModel) {
    for (const char* caps : {"A010", "A000"}) {
        auto options = Busy(400);
        options.identity.caps = caps;
        TcpDevice device(options);
        std::set<std::string> payloads;
        for (const auto& line : Traffic(*device.Host, 80))
            if (FieldsOf(line)[0] == "!AIVDM")
                payloads.insert(FieldsOf(line)[5]);
        EXPECT_EQ(payloads.size(), 4u) << caps;
    }
}

TEST(Traffic, TagBlocksCarryTheSourceWhenTheOptionIsSet) {
    TcpDevice device(Busy(200));
    ASSERT_TRUE(SwitchTagBlocksOn(device, "00000028"));
    const auto lines = Traffic(*device.Host, 40);
    ASSERT_EQ(lines.size(), 40u);
    std::set<std::string> sources;
    for (const auto& line : lines) {
        const std::string tag = TagOf(line);
        ASSERT_FALSE(tag.empty()) << line;
        EXPECT_TRUE(ChecksumsRight(line)) << line;
        const auto source = SourceOf(tag);
        ASSERT_TRUE(source) << tag;
        sources.insert(*source);
    }
    // Inputs 1 to 4, the conversions and two NMEA 2000 devices, one written in hex, one in decimal.
    EXPECT_EQ(sources, (std::set<std::string>{"-1", "-2", "-3", "-4", "-5", "#0B", "=66"}));
}

TEST(Traffic, SourceTagFollowsTheUniqueId) {
    TcpDevice device(Busy(200));
    EXPECT_EQ(device.Ask("$PQZXUI,C,AB12"), OnWire("$PQZXUI,R,AB12"));
    ASSERT_TRUE(SwitchTagBlocksOn(device, "00000020"));
    for (const auto& line : Traffic(*device.Host, 20))
        EXPECT_TRUE(StartsWith(line, "\\s:AB12")) << line;
}

TEST(Traffic, WithoutNmea2000OnlyInputsAndConversions) {
    auto options = Busy(200);
    options.identity.caps = "A000";
    TcpDevice device(options);
    ASSERT_TRUE(SwitchTagBlocksOn(device, "00000020"));
    for (const auto& line : Traffic(*device.Host, 30)) {
        EXPECT_EQ(TagOf(line).find('#'), std::string::npos) << line;
        EXPECT_EQ(TagOf(line).find('='), std::string::npos) << line;
    }
}

TEST(Traffic, TalkerIdsOfInputsAndConversionsReplaceTheOriginal) {
    TcpDevice device(Busy(200));
    EXPECT_EQ(device.Ask("$PQZXID,C,GN,,,,XY"), OnWire("$PQZXID,R,GN,,,,XY"));
    std::set<std::string> addresses;
    for (const auto& line : Traffic(*device.Host, 40))
        addresses.insert(FieldsOf(line)[0]);
    EXPECT_TRUE(addresses.contains("$GNRMC"));
    EXPECT_TRUE(addresses.contains("$GNGGA"));
    EXPECT_TRUE(addresses.contains("$XYHDT"));
    EXPECT_TRUE(addresses.contains("$WIMWV")); // input 2 keeps its own
    EXPECT_FALSE(addresses.contains("$GPRMC"));
}

TEST(Traffic, NoneAtRateZero) {
    TcpDevice device;
    // The NA and ND reports have come; a probe answered first proves the link idle.
    EXPECT_TRUE(device.Unanswered("$PQZXCF,A"));
    for (const auto& line : device.Host->Seen())
        EXPECT_TRUE(StartsWith(line, "$PQZX")) << line;
}

TEST(TrafficPacer, SpreadsTheRateOverTime) {
    using Clock = kvl::sim::TrafficPacer::Clock;
    const Clock::time_point start{};
    kvl::sim::TrafficPacer pacer(560, start);
    std::size_t total = 0;
    for (int ms = 1; ms <= 1000; ++ms)
        total += pacer.Due(start + std::chrono::milliseconds(ms));
    EXPECT_EQ(total, 560u);
    EXPECT_GT(pacer.NextDue(), start + std::chrono::milliseconds(1000));
    EXPECT_LE(pacer.NextDue(), start + std::chrono::milliseconds(1002));
}

TEST(TrafficPacer, DoesNotBurstAfterAStall) {
    using Clock = kvl::sim::TrafficPacer::Clock;
    const Clock::time_point start{};
    kvl::sim::TrafficPacer pacer(100, start);
    EXPECT_EQ(pacer.Due(start + std::chrono::seconds(10)), 26u); // a quarter second's worth and one
    EXPECT_EQ(pacer.Due(start + std::chrono::seconds(10)), 0u);
    EXPECT_EQ(pacer.Due(start + std::chrono::milliseconds(10010)), 1u);
}

TEST(TrafficPacer, RateZeroNeverDue) {
    using Clock = kvl::sim::TrafficPacer::Clock;
    kvl::sim::TrafficPacer pacer(0, Clock::time_point{});
    EXPECT_EQ(pacer.Due(Clock::time_point{} + std::chrono::hours(1)), 0u);
    EXPECT_EQ(pacer.NextDue(), Clock::time_point::max());
}

TEST(TrafficGenerator, RotationVisitsEverySourceOfTheModel) {
    kvl::sim::TrafficGenerator generator;
    kvl::sim::DeviceConfig config = kvl::sim::FactoryConfig("UID1");
    config.options |= kvl::sim::kOptionTagBlocks;
    std::map<std::string, int> perSource;
    for (int i = 0; i < 100; ++i) {
        const std::string line = generator.NextLine(config, true);
        ASSERT_TRUE(line.ends_with("\r\n"));
        const std::string bare = line.substr(0, line.size() - 2);
        EXPECT_TRUE(ChecksumsRight(bare)) << bare;
        const std::string tag = TagOf(bare);
        perSource[tag.substr(7, tag.find('*') - 7)]++;
    }
    EXPECT_EQ(perSource.size(), 7u);
    EXPECT_EQ(generator.LinesMade(), 100u);
}

// One second of the run command's traffic (20 lines): position and heading once,
// wind and depth more often, some AIS.
TEST(TrafficGenerator, LivelyProfileSecondIsPlausible) {
    kvl::sim::TrafficGenerator generator;
    generator.SetProfile(kvl::sim::TrafficProfile::Lively);
    const kvl::sim::DeviceConfig config = kvl::sim::FactoryConfig("UID1");
    for (int second = 0; second < 3; ++second) {
        std::map<std::string, int> perSentence; // by sentence formatter: RMC, MWV, ...
        for (int i = 0; i < 20; ++i) {
            const std::string line = generator.NextLine(config, true);
            perSentence[line.substr(3, 3)]++;
        }
        EXPECT_EQ(perSentence, (std::map<std::string, int>{{"RMC", 1},
                                                           {"GGA", 1},
                                                           {"HDG", 1},
                                                           {"HDT", 1},
                                                           {"MWV", 7},
                                                           {"DPT", 3},
                                                           {"DBT", 2},
                                                           {"VHW", 2},
                                                           {"VDM", 2}}));
    }
}
