// Decodes the bit string of one whole AIS message (types 1, 2, 3, 4, 5, 9, 11,
// 18, 19, 21, 24 and 27; other types give their type, repeat and MMSI only).
#pragma once

#include "sentence/AisBits.h"
#include "sentence/DecodedLine.h"

#include <string_view>

namespace kvl {

// Fills message from bits; false when the message is too short to hold an MMSI.
// Fields that the message is too short for are left out.
bool DecodeAisMessage(const TAisBits& bits, TAisMessage& message);

// "Position report, class A"; empty for a type that is not decoded.
std::string_view AisTypeName(unsigned type);

} // namespace kvl
