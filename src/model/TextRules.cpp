#include "model/TextRules.h"

#include "model/Mob.h"
#include "sentence/NmeaText.h"

#include <algorithm>

namespace kvl {

bool IsFieldText(std::string_view text) {
    return IsNmeaText(text);
}

bool IsWordText(std::string_view text) {
    return IsNmeaText(text) && text.find(' ') == std::string_view::npos;
}

std::string CutAtBlank(std::string_view text) {
    const auto blank = std::find_if(text.begin(), text.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code <= ' ';
    });
    return std::string(text.begin(), blank);
}

bool IsMMSIText(std::string_view text) {
    return text.size() <= TMob::kMMSILength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace kvl
