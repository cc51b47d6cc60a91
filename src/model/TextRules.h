// What text from outside (a file, an editor, a report) may hold before it goes
// into a sentence: a "," or "*" would cut the sentence open on the wire.
#pragma once

#include <string>
#include <string_view>

namespace kvl {

// Fit for a sentence field: IsNmeaText.
bool IsFieldText(std::string_view text);
// Fit for a field that is one word: IsNmeaText and no blank (sentence addresses,
// transducer IDs, MMSIs, unique IDs). A blank would cut the value when the
// configuration file is read back.
bool IsWordText(std::string_view text);
// The text up to its first blank (or other character up to the space): how a
// configuration file has always read a field, and so the one rule for sentence
// addresses and transducer IDs wherever they come from (a report, a file, an editor).
std::string CutAtBlank(std::string_view text);
// Digits only, at most nine; an empty MMSI passes (a fresh entry never edited).
bool IsMMSIText(std::string_view text);

} // namespace kvl
