// The sentence decoder on any input: each line of the input (split at LF) is
// decoded in order with one decoder, so AIS fragments meet each other, then
// explained in words and as JSON. Nothing a device sends may crash or hang it,
// and every view of the result must lie inside the decoded line.
#include "FuzzCheck.h"

#include "sentence/DecodedJson.h"
#include "sentence/DecodedText.h"
#include "sentence/SentenceDecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kvl;

namespace {

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() ||
           (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void Check(const TDecodedLine& line) {
    for (const std::string_view part :
         {line.LogPrefix, line.TagBlock, line.Sentence, line.Address, line.Talker})
        KVL_FUZZ_CHECK(Inside(part, line.Line));
    for (const TDecodedField& field : line.Fields)
        KVL_FUZZ_CHECK(Inside(field.Raw, line.Line));
    for (const TTagParam& tag : line.Tags)
        KVL_FUZZ_CHECK(Inside(tag.Value, line.Line));
    if (line.Ais) {
        KVL_FUZZ_CHECK(line.Ais->Fields.size() >= 3);
        KVL_FUZZ_CHECK(line.Ais->Mmsi < (1U << 30));
        for (const TAisField& field : line.Ais->Fields)
            KVL_FUZZ_CHECK(field.Text.find('@') == std::string::npos);
    }
    // A decoded AIS message comes from an AIS sentence that had no fault.
    if (line.Ais)
        KVL_FUZZ_CHECK(line.IsAis && line.Error.empty());
    std::string json;
    AppendJson(line, 1, json);
    KVL_FUZZ_CHECK(!json.empty() && json.front() == '{' && json.back() == '\n');
    for (const char c : json)
        KVL_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 || c == '\n');
    (void)DescribeLine(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TSentenceDecoder decoder;
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        Check(decoder.Decode(input.substr(start, end - start)));
        start = end + 1;
    }
    return 0;
}
