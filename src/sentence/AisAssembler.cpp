#include "sentence/AisAssembler.h"

#include <algorithm>

namespace kvl {

void TAisAssembler::MakeKey(std::string_view sentenceType, const TAisFragment& fragment, std::string& key) {
    key.assign(fragment.Stream);
    key += '|';
    key += sentenceType;
    key += '|';
    if (fragment.Channel == "1")
        key += 'A';
    else if (fragment.Channel == "2")
        key += 'B';
    else
        key += fragment.Channel;
    key += '|';
    key += fragment.SequenceId;
}

TAisAssembler::TPending* TAisAssembler::Find(const std::string& key) {
    const auto found =
        std::find_if(Pending.begin(), Pending.end(), [&](const TPending& p) { return p.Key == key; });
    return found == Pending.end() ? nullptr : &*found;
}

void TAisAssembler::Drop(const std::string& key) {
    std::erase_if(Pending, [&](const TPending& p) { return p.Key == key; });
}

TAisAssembler::TResult TAisAssembler::Add(std::string_view sentenceType, const TAisFragment& fragment,
                                          TAisBits& bits) {
    bits.Clear();
    if (fragment.Count <= 1) {
        if (!bits.Append(fragment.Payload))
            return TResult::BadPayload;
        bits.DropFill(fragment.FillBits);
        return TResult::Complete;
    }
    MakeKey(sentenceType, fragment, Key);
    if (fragment.Number == 1) {
        // A new first fragment replaces whatever was pending under its key.
        Drop(Key);
        if (!bits.Append(fragment.Payload))
            return TResult::BadPayload;
        bits.Clear();
        if (Pending.size() >= kMaxPending)
            Pending.pop_front();
        Pending.push_back({Key, fragment.Count, 1, std::string(fragment.Payload)});
        return TResult::Pending;
    }
    TPending* pending = Find(Key);
    if (pending == nullptr || pending->Count != fragment.Count ||
        pending->LastNumber + 1 != fragment.Number) {
        Drop(Key);
        return TResult::Incomplete;
    }
    if (!bits.Append(fragment.Payload)) {
        Drop(Key);
        return TResult::BadPayload;
    }
    bits.Clear();
    pending->Payload += fragment.Payload;
    pending->LastNumber = fragment.Number;
    if (fragment.Number < fragment.Count)
        return TResult::Pending;
    // The fill bits of the last fragment end the whole message.
    const bool appended = bits.Append(pending->Payload);
    Drop(Key);
    if (!appended)
        return TResult::BadPayload;
    bits.DropFill(fragment.FillBits);
    return TResult::Complete;
}

} // namespace kvl
