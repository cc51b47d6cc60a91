// The decoded line in words, one explanation a line, for the Details pane and
// the Sentence Rates window ("Latitude 54 deg 30.0000' N", "Status: valid").
#pragma once

#include "sentence/DecodedLine.h"

#include <string>
#include <vector>

namespace kvl {

std::string DescribeField(const TDecodedField& field);
std::string DescribeAisField(const TAisField& field);
// The whole line: what it is, its talker, checksum, TAG block, fields, AIS message.
std::vector<std::string> DescribeLine(const TDecodedLine& line);

// "2024-03-15 12:16:40 UTC" for a TAG block time in seconds (or, from 10^11 on,
// milliseconds) since 1970; empty when the text is not such a number.
std::string TagTimeText(std::string_view value);

} // namespace kvl
