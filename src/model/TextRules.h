// What text from outside (a file, an editor, a report) may hold before it goes
// into a sentence: a "," or "*" would cut the sentence open on the wire.
#pragma once

#include <string_view>

namespace kvl {

// Fit for a sentence field: IsNmeaText.
bool IsFieldText(std::string_view text);
// Fit for a field that is one word: IsNmeaText and no blank (sentence addresses,
// transducer IDs, MMSIs, unique IDs). A blank would cut the value when the
// configuration file is read back.
bool IsWordText(std::string_view text);
// Digits only, at most nine; an empty MMSI passes (a fresh entry never edited).
bool IsMMSIText(std::string_view text);

} // namespace kvl
