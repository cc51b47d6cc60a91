// The row readers of the configuration file's table sections. Any value reads
// without a fault; split fields written back read back as the same fields; an
// entry that is read never holds text that could cut a sentence open, and written
// back as a row it reads back as the same entry.
#include "FuzzCheck.h"

#include "model/ConfigRows.h"
#include "model/ConfigSentences.h"
#include "model/TextRules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kvl;

namespace {

bool SameRoute(const TRoute& a, const TRoute& b) {
    return a.Address == b.Address && a.Inputs == b.Inputs && a.Divisor == b.Divisor && a.Route == b.Route &&
           a.Name == b.Name && a.SA == b.SA;
}

bool SameModbus(const TModbus& a, const TModbus& b) {
    return a.Slave == b.Slave && a.Reg == b.Reg && a.RType == b.RType && a.DType == b.DType &&
           a.Rev == b.Rev && a.Prec == b.Prec && a.XdrType == b.XdrType && a.XdrUnit == b.XdrUnit &&
           a.XdrID == b.XdrID && a.Status == b.Status;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);

    const auto fields = SplitRow(value);
    KVL_FUZZ_CHECK(SplitRow(JoinRow(fields)) == fields);

    if (const auto route = ReadRoutingRow(value); route.Entry) {
        KVL_FUZZ_CHECK(IsWordText(route.Entry->Address));
        (void)EncodeRTE(*route.Entry); // throws on text unfit for the wire: a crash here
        const auto again = ReadRoutingRow(RoutingRow(*route.Entry));
        KVL_FUZZ_CHECK(again.Entry && SameRoute(*again.Entry, *route.Entry));
    }
    if (const auto modbus = ReadModbusRow(value); modbus.Entry) {
        KVL_FUZZ_CHECK(IsWordText(modbus.Entry->XdrID));
        (void)EncodeMBEntry(*modbus.Entry);
        const auto again = ReadModbusRow(ModbusRow(*modbus.Entry));
        KVL_FUZZ_CHECK(again.Entry && SameModbus(*again.Entry, *modbus.Entry));
    }
    if (const auto mob = ReadMobRow(value); mob.Entry) {
        KVL_FUZZ_CHECK(IsMMSIText(mob.Entry->MMSI) && !mob.Entry->MMSI.empty());
        (void)EncodeMOB(*mob.Entry);
    }
    std::string problem;
    const TDataSource source = ReadDataSourceRow(value, problem);
    KVL_FUZZ_CHECK(source.Input == TDataSource::kNone || source.IsSet());
    return 0;
}
