// The errors a handler of a received sentence can raise. The dispatcher tells them
// apart to choose its message: an ENmeaError abandons the line silently, the
// other three name the sentence.
#pragma once

#include <stdexcept>
#include <string>

namespace kvl {

// A fault of the sentence layer; the line is abandoned without a message.
class ENmeaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A handler asked for a field the sentence does not have.
class EMissingField : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A field that should hold a number does not (or the number is out of range).
class ENumberError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A field whose size the handler cannot use (typically an empty field whose first
// character is needed).
class EFieldSize : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
