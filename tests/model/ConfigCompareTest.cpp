#include "model/ConfigCompare.h"

#include "FullConfig.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(ConfigCompare, EqualConfigurationsHaveNoDifferenceWhateverTheStates) {
    TMuxConfig file;
    TMuxConfig device;
    test::FillFullConfig(file);
    test::FillFullConfig(device);
    device.RoutingTable[0]->SA = 17;
    device.ModbusTable[0]->Status = 0;
    device.MOBTable[0]->Status = 'A';
    device.SAHost = 40;
    device.DataSrcTable[2] = {TDataSource::kNone, 0}; // no source either way
    EXPECT_TRUE(CompareConfigurations(file, device).empty());
}

TEST(ConfigCompare, EachDifferenceIsNamedAsInTheFile) {
    TMuxConfig file;
    TMuxConfig device;
    test::FillFullConfig(file);
    test::FillFullConfig(device);
    device.BaudIn1 = 0;
    device.RoutingTable[2]->Divisor = 9;
    device.MOBTable.pop_back();
    device.DataSrcTable[1].Name = 0;
    const std::vector<std::string> expected = {
        "Baud In1: file \"1\", device \"0\"",
        "[Routing] row 3: file \"GP002,83,02,31,0000000000000000\", device "
        "\"GP002,83,09,31,0000000000000000\"",
        "[Data Sources] R2: file \"N,1122334455667788\", device \"N,0000000000000000\"",
        "[AIS MOB]: file 8 rows, device 7 rows"};
    EXPECT_EQ(CompareConfigurations(file, device), expected);
}
