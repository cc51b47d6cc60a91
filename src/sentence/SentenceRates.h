// TSentenceRates: what every source sends, how often and how well. Each received
// line is counted under its source (an input, the conversions, the multiplexer
// itself, an NMEA 2000 address, or no source at all) and its sentence address,
// with its rate over the last ten seconds, the shortest and longest interval,
// when it was last seen, its checksum faults and its last text.
//
// The cost per line is a hash look-up and a few stores; the rows are bounded:
// beyond the limit the row silent for longest gives way.
#pragma once

#include "sentence/Sentence.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvl {

class TSentenceRates {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = Clock::duration;

    static constexpr std::size_t kDefaultMaxRows = 2000;
    static constexpr auto kWindow = std::chrono::seconds(10);

    // One source and sentence address.
    struct TRow {
        TSource Source = TSource::SrcNone;
        std::uint8_t SourceId = 0; // the input (0 multiplexer, 1-4, 5 conversions) or the NMEA 2000 address
        std::string Address;       // "GPRMC", "PQZXVER", "AIVDM"; empty for a line without one
        std::uint64_t Count = 0;
        Duration MinInterval = Duration::max(); // Count >= 2 only
        Duration MaxInterval = Duration::zero();
        Clock::time_point LastSeen;
        std::uint32_t ChecksumErrors = 0;
        std::uint32_t TagChecksumErrors = 0;
        std::string LastText;
        double Rate = 0; // sentences a second over the last ten seconds, as of the snapshot

        bool HasIntervals() const { return Count >= 2; }
        std::uint32_t Errors() const { return ChecksumErrors + TagChecksumErrors; }
    };

    explicit TSentenceRates(std::size_t maxRows = kDefaultMaxRows);

    void Add(const TSentence& sentence, Clock::time_point arrival);
    void Reset();

    // The rows, most recently seen first, with their rates as of now.
    std::vector<TRow> Snapshot(Clock::time_point now) const;
    std::size_t RowCount() const { return Rows.size(); }

private:
    // The ten seconds in slices: each keeps its count and its first arrival, so the
    // rate is measured between real arrivals and not against a partly filled slice.
    static constexpr std::size_t kSlices = 50;
    static constexpr Duration kSlice = std::chrono::duration_cast<Duration>(kWindow) / kSlices;
    struct TSlice {
        std::int64_t Number = -1; // which slice of time since the epoch it holds
        std::uint32_t Count = 0;
        Clock::time_point First;
    };
    struct TEntry {
        TRow Row;
        std::array<TSlice, kSlices> Slices;
    };
    using TList = std::list<TEntry>;

    static std::string KeyOf(TSource source, std::uint8_t sourceId, const std::string& address);
    static std::uint8_t SourceIdOf(const TSentence& sentence);
    static double RateOf(const TEntry& entry, Clock::time_point now);
    TEntry& EntryFor(const TSentence& sentence, const std::string& key);

    std::size_t MaxRows;
    TList Rows; // most recently seen first
    std::unordered_map<std::string, TList::iterator> Index;
};

} // namespace kvl
