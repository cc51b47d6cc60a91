#include "model/Name.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(Name, ViewsReadTheirBitsOfTheNumber) {
    const TName name(0x8123456789ABCDEFull);
    EXPECT_EQ(name.Serial(), 0x89ABCDEFu);
    EXPECT_EQ(name.DevInstance(), 0x67);
    EXPECT_EQ(name.DevFunction(), 0x45);
    EXPECT_EQ(name.DevClass(), 0x23);
    EXPECT_EQ(name.SysIntance(), 0x81);
    // 0x89ABCDEF >> 21: the top eleven bits 100 0100 1101.
    EXPECT_EQ(name.ManufacturerCode(), 0x44D);
    EXPECT_EQ(name.SystemInstance(), 0x1);
}

TEST(Name, SettersChangeOnlyTheirView) {
    TName name(0x8123456789ABCDEFull);
    name.SetDevInstance(0x00);
    EXPECT_EQ(name.N, 0x8123450089ABCDEFull);
    name.SetDevFunction(0xFF);
    EXPECT_EQ(name.N, 0x8123FF0089ABCDEFull);
    name.SetDevClass(0x10);
    EXPECT_EQ(name.N, 0x8110FF0089ABCDEFull);
    name.SetSysIntance(0x02);
    EXPECT_EQ(name.N, 0x0210FF0089ABCDEFull);
    name.SetSerial(0x00000001);
    EXPECT_EQ(name.N, 0x0210FF0000000001ull);
}

TEST(Name, HexTextAlwaysHasSixteenUpperCaseDigits) {
    EXPECT_EQ(TName().ToHex(), "0000000000000000");
    EXPECT_EQ(TName(0x1F).ToHex(), "000000000000001F");
    EXPECT_EQ(TName(0x00A1B2C3D4E5F607ull).ToHex(), "00A1B2C3D4E5F607");
    EXPECT_EQ(TName(0xFFFFFFFFFFFFFFFFull).ToHex(), "FFFFFFFFFFFFFFFF");
}

TEST(Name, ZeroMeansNoDeviceAndComparesByNumber) {
    EXPECT_TRUE(TName().IsEmpty());
    EXPECT_FALSE(TName(1).IsEmpty());
    EXPECT_EQ(TName(42), TName(42));
    EXPECT_NE(TName(42), TName(43));
}
