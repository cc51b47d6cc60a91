// Judging the bootloader's answers, on any packet. Properties:
// - an answer passes exactly when it is the lone acknowledgement C0;
// - a checksum value is read only from a 5-byte answer starting with 05 or 85;
// - every failure names the command and one of the five faults.
#include "FuzzCheck.h"

#include "firmware/BootloaderPackets.h"
#include "link/CommError.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace kvl;

namespace {

bool EndsWithFault(const std::string& message) {
    for (const char* fault : {"Frame size error", "Unknown command", "Unknown decryption method",
                              "Unknown response", "Response has wrong size"})
        if (message.ends_with(fault))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int code = data[0] % 10;
    TPacket answer;
    answer.Length = static_cast<std::uint16_t>(std::min(size - 1, kMaxPacketData));
    std::copy_n(data + 1, answer.Length, answer.Data.begin());

    const bool ack = answer.Length == 1 && answer.Data[0] == 0xC0;
    try {
        CheckBootloaderAnswer(code, answer);
        KVL_FUZZ_CHECK(ack);
    } catch (const ECommError& e) {
        KVL_FUZZ_CHECK(!ack);
        KVL_FUZZ_CHECK(EndsWithFault(e.what()));
        KVL_FUZZ_CHECK((code >= 1 && code <= 8) == (std::string(e.what()).find(":\r") != std::string::npos));
    }
    const auto crc = CrcAnswerValue(answer);
    KVL_FUZZ_CHECK(crc.has_value() ==
                   (answer.Length == 5 && (answer.Data[0] == 0x05 || answer.Data[0] == 0x85)));
    return 0;
}
