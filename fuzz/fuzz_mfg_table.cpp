// The manufacturer table reader: whatever the text, every kept name is at most 255
// characters and holds no line end, and a lookup of any code answers with a name.
#include "FuzzCheck.h"

#include "n2k/N2KMfgTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kvl::TMfgTable table;
    table.Load(std::string_view(reinterpret_cast<const char*>(data), size));
    KVL_FUZZ_CHECK(table.Count() <= kvl::TMfgTable::kCodes);
    for (std::uint32_t code = 0; code < kvl::TMfgTable::kCodes + 2; ++code) {
        const std::string& name = table[code];
        KVL_FUZZ_CHECK(name.size() <= kvl::TMfgTable::kNameLength);
        KVL_FUZZ_CHECK(name.find('\n') == std::string::npos);
        KVL_FUZZ_CHECK(!table.MakerName(code).empty()); // a maker is never shown as nothing
    }
    return 0;
}
