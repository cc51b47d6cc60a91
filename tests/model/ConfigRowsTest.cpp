#include "model/ConfigRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvl;

namespace {

struct TSplitCase {
    std::string Value;
    std::vector<std::string> Fields;
};

} // namespace

TEST(ConfigRows, RowsSplitAtCommasAndBlanksWithQuotedFieldsKeptWhole) {
    const std::vector<TSplitCase> cases = {
        {"GPRMC,21,00,30,0000000000000000", {"GPRMC", "21", "00", "30", "0000000000000000"}},
        {"a , b,c", {"a", "b", "c"}},
        {"ENGINE 1", {"ENGINE", "1"}}, // a blank ends a field
        {"\"ENGINE 1,2\",x", {"ENGINE 1,2", "x"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a", ""}},
        {"1,0,H,I,0,0,,,", {"1", "0", "H", "I", "0", "0", "", "", ""}},
        {"", {}},
        {"   ", {}},
        {"\"open", {"open"}},
        {"a\tb", {"a", "b"}},
    };
    for (const TSplitCase& c : cases)
        EXPECT_EQ(SplitRow(c.Value), c.Fields) << c.Value;
}

TEST(ConfigRows, AWrittenRowReadsBackFieldForField) {
    const std::vector<std::string> fields = {"plain", "two words", "a,b", "q\"uote", "", "\xE9t\xE9"};
    EXPECT_EQ(JoinRow(fields), "plain,\"two words\",\"a,b\",\"q\"\"uote\",,\xE9t\xE9");
    EXPECT_EQ(SplitRow(JoinRow(fields)), fields);
}

TEST(ConfigRows, WholeNumbersTakeSignsAndHexadecimalPrefixes) {
    EXPECT_EQ(ParseFileInteger("12"), 12);
    EXPECT_EQ(ParseFileInteger("$1F"), 31);
    EXPECT_EQ(ParseFileInteger("0x1f"), 31);
    EXPECT_EQ(ParseFileInteger("-3"), -3);
    for (const char* bad : {"", "1.5", " 1", "0x", "$", "12a", "99999999999999999999"})
        EXPECT_EQ(ParseFileInteger(bad), std::nullopt) << bad;
}

TEST(ConfigRows, RowsAreWrittenInTheFileFormat) {
    EXPECT_EQ(RoutingRow(TRoute("GPRMC", 0x21, 7, 0x30, 0xAB, 17)), "GPRMC,21,07,30,00000000000000AB");
    EXPECT_EQ(ModbusRow(TModbus(1, 100, 'H', 'I', 0, 1, 'C', 'C', "ENGINE1", 0)),
              "1,100,H,I,0,1,C,C,ENGINE1");
    EXPECT_EQ(ModbusRow(TModbus(2, 5, 'I', 'F', 1, 0, 0, 0, "", 7)), "2,5,I,F,1,0,,,");
    EXPECT_EQ(DataSourceRow({'1', 0}), "1,0000000000000000");
    EXPECT_EQ(DataSourceRow({'N', 0x1122334455667788}), "N,1122334455667788");
    EXPECT_EQ(DataSourceRow({0, 0x55}), "");
    EXPECT_EQ(MobRow(TMob("211234567", 'A')), "211234567");
}

TEST(ConfigRows, GoodRowsReadBackWithFreshStates) {
    const auto route = ReadRoutingRow("GPRMC,21,07,30,00000000000000AB,extra");
    ASSERT_TRUE(route.Entry);
    EXPECT_EQ(route.Entry->Address, "GPRMC");
    EXPECT_EQ(route.Entry->Inputs, 0x21);
    EXPECT_EQ(route.Entry->Divisor, 7);
    EXPECT_EQ(route.Entry->Route, 0x30);
    EXPECT_EQ(route.Entry->Name, TName(0xAB));
    EXPECT_EQ(route.Entry->SA, 255);

    const auto modbus = ReadModbusRow("1,100,Holding,F,1,2,C,C,ENGINE12345678901");
    ASSERT_TRUE(modbus.Entry);
    EXPECT_EQ(modbus.Entry->RType, 'H');
    EXPECT_EQ(modbus.Entry->Rev, 1);
    EXPECT_EQ(modbus.Entry->XdrID, "ENGINE123456789"); // cut to fifteen
    EXPECT_EQ(modbus.Entry->Status, TModbus::kStatusUnknown);

    const auto mob = ReadMobRow("2112345678");
    ASSERT_TRUE(mob.Entry);
    EXPECT_EQ(mob.Entry->MMSI, "211234567");
    EXPECT_EQ(mob.Entry->Status, 'V');
}

TEST(ConfigRows, RowsThatCannotReachTheWireOrDoNotFitAreLeftOutWithAReason) {
    for (const char* row : {"GPRMC,21,00,30", "\"G*RMC\",21,00,30,0", "GPRMC,1FFFF,00,30,0",
                            "GPRMC,21,256,30,0", "GPRMC,21,-1,30,0", "GPRMC,21,00,30,12345678901234567"}) {
        const auto read = ReadRoutingRow(row);
        EXPECT_FALSE(read.Entry) << row;
        EXPECT_FALSE(read.Problem.empty()) << row;
    }
    for (const char* row :
         {"1,100,H,I,0,1,C,C", "248,100,H,I,0,1,C,C,ID", "1,65536,H,I,0,1,C,C,ID", "1,100,X,I,0,1,C,C,ID",
          "1,100,H,Q,0,1,C,C,ID", "1,100,H,I,2,1,C,C,ID", "1,100,H,I,0,10,C,C,ID", "1,100,H,I,0,1,,C,ID",
          "1,100,H,I,0,1,C,,ID", "1,100,H,I,0,1,*,C,ID", "1,100,H,I,0,1,C,C,\"A*B\""})
        EXPECT_FALSE(ReadModbusRow(row).Entry) << row;
    // A blank cuts the value, as a plain field has always been read; the row stays.
    EXPECT_EQ(ReadRoutingRow("\"GP RM\",21,00,30,0").Entry->Address, "GP");
    EXPECT_EQ(ReadModbusRow("1,100,H,I,0,1,C,C,\"A B\"").Entry->XdrID, "A");
    for (const char* row : {"", "21123456X", "21,123456"})
        EXPECT_FALSE(ReadMobRow(row).Entry) << row;
}

TEST(ConfigRows, DataSourceRowsFallBackToNoSource) {
    std::string problem;
    EXPECT_EQ(ReadDataSourceRow("", problem), (TDataSource{TDataSource::kNone, 0}));
    EXPECT_EQ(ReadDataSourceRow("N,00000000000000AB", problem), (TDataSource{'N', 0xAB}));
    EXPECT_EQ(ReadDataSourceRow("12,00000000000000AB", problem), (TDataSource{TDataSource::kNone, 0xAB}));
    EXPECT_EQ(ReadDataSourceRow("-,0000000000000000", problem), (TDataSource{TDataSource::kNone, 0}));
    EXPECT_EQ(ReadDataSourceRow("2,zz", problem), (TDataSource{'2', 0}));
    EXPECT_TRUE(problem.empty());
    EXPECT_EQ(ReadDataSourceRow("N,zz", problem), (TDataSource{'N', 0}));
    EXPECT_FALSE(problem.empty());
}
