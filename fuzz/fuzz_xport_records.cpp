// The XPort record decoders with any bytes from the network: no crash, and what the
// tool writes back keeps every byte it read except those it sets.
#include "FuzzCheck.h"

#include "network/records/XPortRecords.h"

#include <cstddef>
#include <cstdint>

using namespace kvl;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TXPortBytes bytes(data, data + size);

    const TSearchAnswer search = DecodeSearchAnswer(bytes);
    if (size != xport::kSearchReplySize)
        KVL_FUZZ_CHECK(search.Kind == TSearchAnswer::TKind::EndOfSearch);

    if (const auto record = DecodeSetupReply(bytes)) {
        KVL_FUZZ_CHECK(size == xport::kSetupSize && record->OpCode() == xport::kSetupReply);
        const TXPortBytes written = EncodeSetupWrite(*record, false);
        KVL_FUZZ_CHECK(written.size() == size);
        for (std::size_t i = 0; i < size; ++i)
            KVL_FUZZ_CHECK(i == xport::kCodeOffset ? written[i] == xport::kSetupWrite
                                                   : written[i] == bytes[i]);
        (void)record->IsUdp();
    }

    if (const auto write = ExtendedWriteFromReply(bytes)) {
        KVL_FUZZ_CHECK(write->size() == xport::kExtendedSize);
        for (std::size_t i = 0; i < size; ++i)
            if (i != 1 && i != xport::kCodeOffset && i != 120)
                KVL_FUZZ_CHECK((*write)[i] == bytes[i]);
        KVL_FUZZ_CHECK(((*write)[120] & 0xA0) == 0x80);
    }
    (void)IsXPortAck(bytes, xport::kSetupAck);
    return 0;
}
