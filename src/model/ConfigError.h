// Errors of composing configuration sentences from texts the user typed or a file
// supplied. Each carries the message shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace kvl {

inline constexpr const char* kMsgTalkerIDProprietary = "A Talker ID cannot start with a 'P'";
inline constexpr const char* kMsgTalkerIDIllegal = "Illegal character in Talker ID";
inline constexpr const char* kMsgUniqueIDIllegal = "The Unique ID must be up to 12 letters or digits";

// A talker ID that is neither empty nor two upper-case letters or digits not
// starting with 'P'.
class ETalkerID : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A unique ID that is not up to twelve letters or digits.
class EUniqueID : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
