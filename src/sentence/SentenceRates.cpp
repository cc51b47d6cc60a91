#include "sentence/SentenceRates.h"

#include <algorithm>

namespace kvl {

TSentenceRates::TSentenceRates(std::size_t maxRows) : MaxRows(std::max<std::size_t>(maxRows, 1)) {}

// Source kind, source number and address in one short string (no allocation for
// the usual addresses of up to twelve characters).
std::string TSentenceRates::KeyOf(TSource source, std::uint8_t sourceId, const std::string& address) {
    std::string key;
    key.reserve(2 + address.size());
    key += static_cast<char>(source);
    key += static_cast<char>(sourceId);
    key += address;
    return key;
}

std::uint8_t TSentenceRates::SourceIdOf(const TSentence& sentence) {
    return sentence.Source == TSource::SrcN2K ? sentence.SA : sentence.Input;
}

TSentenceRates::TEntry& TSentenceRates::EntryFor(const TSentence& sentence, const std::string& key) {
    if (const auto found = Index.find(key); found != Index.end()) {
        Rows.splice(Rows.begin(), Rows, found->second); // most recently seen first
        return Rows.front();
    }
    if (Rows.size() >= MaxRows) {
        // The row silent for longest gives way.
        const TRow& oldest = Rows.back().Row;
        Index.erase(KeyOf(oldest.Source, oldest.SourceId, oldest.Address));
        Rows.pop_back();
    }
    Rows.emplace_front();
    TEntry& entry = Rows.front();
    entry.Row.Source = sentence.Source;
    entry.Row.SourceId = SourceIdOf(sentence);
    entry.Row.Address = sentence.Address;
    Index.emplace(key, Rows.begin());
    return entry;
}

void TSentenceRates::Add(const TSentence& sentence, Clock::time_point arrival) {
    TEntry& entry = EntryFor(sentence, KeyOf(sentence.Source, SourceIdOf(sentence), sentence.Address));
    TRow& row = entry.Row;
    if (row.Count > 0) {
        const Duration interval = arrival - row.LastSeen;
        row.MinInterval = std::min(row.MinInterval, interval);
        row.MaxInterval = std::max(row.MaxInterval, interval);
    }
    ++row.Count;
    row.LastSeen = arrival;
    row.LastText = sentence.Sentence;
    if (sentence.Error & TSentence::kErrChecksum)
        ++row.ChecksumErrors;
    if (sentence.Error & (TSentence::kErrTagChecksum | TSentence::kErrTagNoChecksum))
        ++row.TagChecksumErrors;

    const std::int64_t number = arrival.time_since_epoch() / kSlice;
    TSlice& slice = entry.Slices[static_cast<std::size_t>(number % static_cast<std::int64_t>(kSlices))];
    if (slice.Number != number) {
        slice.Number = number;
        slice.Count = 0;
        slice.First = arrival;
    }
    ++slice.Count;
}

// Sentences a second between the first arrival within the last ten seconds and
// now: a source sending once a second shows 1.0 from its second line on, and a
// source that has fallen silent drops to 0 once its window has passed.
double TSentenceRates::RateOf(const TEntry& entry, Clock::time_point now) {
    const std::int64_t newest = now.time_since_epoch() / kSlice;
    std::uint64_t count = 0;
    Clock::time_point first = Clock::time_point::max();
    for (const TSlice& slice : entry.Slices) {
        if (slice.Number < 0 || slice.Number > newest ||
            newest - slice.Number >= static_cast<std::int64_t>(kSlices))
            continue;
        count += slice.Count;
        first = std::min(first, slice.First);
    }
    if (count < 2)
        return 0;
    // Measured between arrivals, so that n lines span n - 1 intervals; the time
    // since the last arrival counts once it is longer than a usual interval.
    const Clock::time_point last = entry.Row.LastSeen;
    const double span = std::chrono::duration<double>(last - first).count();
    if (span <= 0)
        return 0;
    const double perInterval = span / static_cast<double>(count - 1);
    const double sinceLast = std::chrono::duration<double>(now - last).count();
    const double effective = sinceLast > perInterval ? span + sinceLast - perInterval : span;
    return static_cast<double>(count - 1) / effective;
}

std::vector<TSentenceRates::TRow> TSentenceRates::Snapshot(Clock::time_point now) const {
    std::vector<TRow> rows;
    rows.reserve(Rows.size());
    for (const TEntry& entry : Rows) {
        rows.push_back(entry.Row);
        rows.back().Rate = RateOf(entry, now);
    }
    return rows;
}

void TSentenceRates::Reset() {
    Rows.clear();
    Index.clear();
}

} // namespace kvl
