// The line framing fed with any byte stream: every queued line is one the stream
// really held, right before its CR LF, and is a well-formed line (start character,
// at most 255 characters, no CR or LF inside).
#include "FuzzCheck.h"

#include "link/LineFraming.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace kvl;

namespace {

void CheckLine(const std::string& line, const std::uint8_t* data, std::size_t end) {
    KVL_FUZZ_CHECK(!line.empty() && line.size() <= TLineFraming::kMaxLine);
    KVL_FUZZ_CHECK(line[0] == '$' || line[0] == '!' || line[0] == '\\');
    KVL_FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    // data[end] is the LF that completed the line; CR and the line stand before it.
    KVL_FUZZ_CHECK(end >= line.size() + 1);
    KVL_FUZZ_CHECK(data[end] == '\n' && data[end - 1] == '\r');
    KVL_FUZZ_CHECK(std::memcmp(data + end - 1 - line.size(), line.data(), line.size()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLineFraming framing;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < size; ++i) {
        if (framing.Feed(data[i])) {
            CheckLine(framing.Line(), data, i);
            lines.push_back(framing.Line());
        }
    }

    // Reads arrive in blocks of any size: the same stream cut in two gives the same lines.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    TLineFraming blocks;
    std::vector<std::string> blockLines;
    const auto collect = [&](const std::string& line) { blockLines.push_back(line); };
    blocks.FeedAll(data, cut, collect);
    blocks.FeedAll(data + cut, size - cut, collect);
    KVL_FUZZ_CHECK(blockLines == lines);
    return 0;
}
