// Joins the fragments of multi-sentence AIS messages. One message is pending per
// stream (see TAisFragment), sentence type (VDM, VDO), radio channel ("1" counts
// as "A", "2" as "B") and sequential message ID; a fragment is accepted only when the one before it was
// the last received for that key, so a lost fragment gives "incomplete", never a
// message stitched from two.
#pragma once

#include "sentence/AisBits.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace kvl {

struct TAisFragment {
    unsigned Count = 0;  // fragments in the message, 1..9
    unsigned Number = 0; // this one, 1..Count
    std::string_view SequenceId;
    std::string_view Channel;
    std::string_view Payload;
    unsigned FillBits = 0;
    // Which receiver's stream it belongs to: the TAG block's group ("g:1-2-17" gives
    // "g17", shared by all fragments of the group) or else its source station ("s:r1"
    // gives "sr1"); empty without TAG block. Feeds of several stations interleave
    // fragments with the same channel and sequential ID.
    std::string Stream;
};

class TAisAssembler {
public:
    enum class TResult {
        Complete,   // bits hold the whole message
        Pending,    // waiting for the next fragment
        Incomplete, // an earlier fragment is missing: this one is dropped
        BadPayload  // a character outside the armouring alphabet
    };

    static constexpr std::size_t kMaxPending = 64;

    TResult Add(std::string_view sentenceType, const TAisFragment& fragment, TAisBits& bits);
    void Clear() { Pending.clear(); }

private:
    struct TPending {
        std::string Key;
        unsigned Count = 0;
        unsigned LastNumber = 0;
        std::string Payload;
    };
    static void MakeKey(std::string_view sentenceType, const TAisFragment& fragment, std::string& key);
    TPending* Find(const std::string& key);
    void Drop(const std::string& key);

    std::deque<TPending> Pending; // oldest first
    std::string Key;              // scratch, kept for its capacity
};

} // namespace kvl
