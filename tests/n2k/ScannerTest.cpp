// The scanner driven without a window: received reports go in, its requests are
// recorded, and its timer is ticked by hand.
#include "SentenceFrame.h"
#include "SimFields.h"
#include "host/MuxHost.h"
#include "n2k/N2K.h"
#include "support/FakeMuxHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvl::test {

namespace {

constexpr const char* kUid = "KV3SIM";

std::string NameHex(std::uint64_t name) {
    return sim::WriteHex(name, 16);
}

// Raymarine (1851) unique number 0x1234, instances 0; Airmar (135) for others.
constexpr std::uint64_t kRaymarine = (std::uint64_t{1851} << 21) | 0x1234 | (0xC0ull << 56);
constexpr std::uint64_t kAirmar = (std::uint64_t{135} << 21) | 0x0042 | (0xC0ull << 56);
constexpr std::uint64_t kGarmin = (std::uint64_t{229} << 21) | 0x0077 | (0xC0ull << 56);

class ScannerTest : public testing::Test {
protected:
    ScannerTest() : Scanner(Host, [this](int value) { ConverterFound(value); }) {
        Scanner.OnDeviceChange = [this] { ++Changes; };
    }

    void Feed(const std::string& line) { Scanner.ProcessNmea(TSentence(line, kUid)); }
    void Claim(std::uint64_t name, unsigned sa) {
        Feed(sim::FrameSentence("$PQZXNC,R," + NameHex(name) + "," + std::to_string(sa)));
    }
    void Part(unsigned sa, const std::string& body) {
        Feed(sim::TagBlock(std::string("s:") + kUid + "#" + sim::WriteHex(sa, 2)) +
             sim::FrameSentence("$PQZXNP," + body));
    }
    void Complete(unsigned sa, const std::string& product = "1234", const std::string& model = "M",
                  const std::string& version = "V") {
        Part(sa, "A,0,2.100," + product + ",1,2");
        Part(sa, "B," + model + ",SN1");
        Part(sa, "C,1.0," + version);
    }
    std::vector<std::string> Requests() const {
        std::vector<std::string> requests;
        for (const auto& line : Host.Sent)
            if (line.starts_with("$PQZXNR,126996,"))
                requests.push_back(line);
        return requests;
    }
    std::vector<unsigned> ListedAddresses() const {
        std::vector<unsigned> addresses;
        for (const TDeviceInfo* device : Scanner.GetDevices())
            addresses.push_back(device->SA);
        return addresses;
    }

    void ConverterFound(int value) {
        Notified.push_back(value);
        StateWhenNotified = Scanner.ScanState();
        RequestWhenNotified = Scanner.GetRequestSA();
    }

    TFakeMuxHost Host;
    TN2KDeviceList Scanner;
    int Changes = 0;
    std::vector<int> Notified;
    TScanState StateWhenNotified = TScanState::scIdle;
    std::uint32_t RequestWhenNotified = 0;
};

TEST_F(ScannerTest, ScanAsksEveryDeviceForItsAddressClaim) {
    Scanner.Scan();
    EXPECT_EQ(Host.Sent, std::vector<std::string>{"$PQZXNR,60928,255"});
    EXPECT_EQ(Scanner.ScanState(), TScanState::scAddrClm);
    EXPECT_EQ(Scanner.ReqTimer.interval(), 500);
    EXPECT_TRUE(Scanner.ReqTimer.isActive());
}

TEST_F(ScannerTest, NoClaimEndsIdleWithAnEmptyList) {
    Scanner.Scan();
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
    EXPECT_EQ(Scanner.DeviceCount(), 0u);
    EXPECT_FALSE(Scanner.ReqTimer.isActive());
}

TEST_F(ScannerTest, DevicesAreAskedInAscendingAddressOrder) {
    Scanner.Scan();
    Claim(kAirmar, 35);
    Claim(kGarmin, 12);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests(), std::vector<std::string>{"$PQZXNR,126996,12"});
    Complete(12);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scNext);
    EXPECT_EQ(Scanner.ReqTimer.interval(), 50);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests(), (std::vector<std::string>{"$PQZXNR,126996,12", "$PQZXNR,126996,35"}));
    Complete(35);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
    EXPECT_EQ(ListedAddresses(), (std::vector<unsigned>{12, 35}));
}

TEST_F(ScannerTest, ADeviceWithoutPartCIsAskedFourTimesAndLeftOut) {
    Scanner.Scan();
    Claim(kAirmar, 20);
    Scanner.ReqTimerTimer();
    for (int tick = 0; tick < 3; ++tick) {
        Part(20, "A,0,2.100,1234,1,2");
        Part(20, "B,WSO100,M1");
        Scanner.ReqTimerTimer();
    }
    EXPECT_EQ(Requests().size(), 4u);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests().size(), 4u);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
    EXPECT_EQ(Scanner.DeviceCount(), 0u);
    EXPECT_EQ(Scanner.NameAt(20), TName(kAirmar)); // the claim stays in the table
}

TEST_F(ScannerTest, PartCFromAnotherAddressEndsTheWait) {
    Scanner.Scan();
    Claim(kGarmin, 12);
    Claim(kAirmar, 40);
    Claim(kRaymarine, 50);
    Scanner.ReqTimerTimer();
    Part(12, "A,0,2.100,1234,1,2");
    Part(40, "B,Other,SN");
    Part(40, "C,9.9,Other");
    EXPECT_EQ(Scanner.DeviceCount(), 0u);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scNext);
    EXPECT_EQ(Scanner.GetRequestSA(), 40u);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests().back(), "$PQZXNR,126996,40");
    Complete(40, "1234", "Sensor");
    ASSERT_EQ(Scanner.DeviceCount(), 1u);
    EXPECT_EQ(Scanner.GetDevices()[0]->ModelID, "Sensor"); // nothing of the early answer kept
}

TEST_F(ScannerTest, AnswersWithoutASourceAddressIndexNothing) {
    Scanner.Scan();
    Claim(kGarmin, 12);
    Scanner.ReqTimerTimer();
    Feed(sim::FrameSentence("$PQZXNP,C,1.0,Untagged"));
    Feed(sim::TagBlock("s:OTHER#0C") + sim::FrameSentence("$PQZXNP,C,1.0,ForeignTag"));
    Feed(sim::TagBlock(std::string("s:") + kUid + "#FF") + sim::FrameSentence("$PQZXNP,C,1.0,Address255"));
    EXPECT_EQ(Scanner.ScanState(), TScanState::scProdInfo);
    EXPECT_EQ(Scanner.DeviceCount(), 0u);
}

TEST_F(ScannerTest, MalformedClaimsChangeNothing) {
    const std::string name = NameHex(kAirmar);
    const std::vector<std::string> claims = {
        "$PQZXNC,R," + name.substr(1) + ",12", // 15 digits
        "$PQZXNC,C," + name + ",12",           // not a report
        "$PQZXNC,R," + name + ",255",          // no address
        "$PQZXNC,R," + name + ",x1",           // not a number
        "$PQZXNC,R,00000000000000G0,12",       // not hexadecimal
    };
    for (const auto& claim : claims) {
        Feed(sim::FrameSentence(claim));
        EXPECT_EQ(Scanner.NameAt(12), TName{}) << claim;
        EXPECT_EQ(Changes, 0) << claim;
    }
}

TEST_F(ScannerTest, ANewDeviceAfterTheScanIsAnnouncedButAnInstanceChangeIsNot) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Scanner.ReqTimerTimer();
    Complete(12);
    ASSERT_EQ(Scanner.ScanState(), TScanState::scIdle);
    const std::uint64_t newInstance = kAirmar | (std::uint64_t{7} << 32);
    Claim(newInstance, 12);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
    EXPECT_EQ(Scanner.GetDevices()[0]->Name, TName(newInstance));
    Claim(kGarmin, 30);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scNew);
}

TEST_F(ScannerTest, ADeviceThatMovesTakesItsRowAlongAndLeavesItsOldAddress) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Claim(kGarmin, 13);
    Scanner.ReqTimerTimer();
    Complete(12, "1234", "Sensor");
    Scanner.ReqTimerTimer();
    Complete(13);
    Claim(kAirmar, 60);
    EXPECT_EQ(Scanner.NameAt(12), TName{});
    EXPECT_EQ(Scanner.NameAt(60), TName(kAirmar));
    EXPECT_EQ(ListedAddresses(), (std::vector<unsigned>{60, 13}));
    EXPECT_EQ(Scanner.GetDevices()[0]->ModelID, "Sensor");
    EXPECT_EQ(Scanner.ScanState(), TScanState::scNew);
}

// Address takeover: what the table knew belonged to the device that left.
TEST_F(ScannerTest, ADeviceTakingOverAnAddressIsAskedForItsOwnProductInformation) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Scanner.ReqTimerTimer();
    Complete(12, "1234", "Sensor", "Old");
    ASSERT_EQ(Scanner.ScanState(), TScanState::scIdle);
    Claim(kGarmin, 12);
    EXPECT_EQ(Scanner.DeviceCount(), 0u);
    EXPECT_EQ(Scanner.GetRequestSA(), 12u);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests().back(), "$PQZXNR,126996,12");
    Part(12, "C,9.9,Display"); // parts A and B have not come: nothing old fills them
    ASSERT_EQ(Scanner.DeviceCount(), 1u);
    const TDeviceInfo& d = *Scanner.GetDevices()[0];
    EXPECT_EQ(d.Name, TName(kGarmin));
    EXPECT_EQ(d.ModelID, "");
    EXPECT_EQ(d.ModelVersion, "Display");
    EXPECT_EQ(d.ProductCode, 0u);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scNew); // a device appeared after the scan
}

TEST_F(ScannerTest, AnAddressTakenOverBehindTheWalkIsAskedAtItsEnd) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Claim(kRaymarine, 30);
    Scanner.ReqTimerTimer();
    Complete(12);
    Scanner.ReqTimerTimer();
    Claim(kGarmin, 12); // while address 30 is asked
    Complete(30);
    EXPECT_EQ(Scanner.GetRequestSA(), 12u);
    Scanner.ReqTimerTimer();
    Complete(12, "4321", "GMI 20");
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{"$PQZXNR,126996,12", "$PQZXNR,126996,30", "$PQZXNR,126996,12"}));
    EXPECT_EQ(ListedAddresses(), (std::vector<unsigned>{30, 12}));
    EXPECT_EQ(Scanner.GetDevices()[1]->ModelID, "GMI 20");
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
}

TEST_F(ScannerTest, DevicesDifferingOnlyInTheirInstancesAreTwoDevices) {
    const std::uint64_t twin = kAirmar | (std::uint64_t{1} << 32);
    Scanner.Scan();
    Claim(kAirmar, 12);
    Claim(twin, 13);
    Scanner.ReqTimerTimer();
    Complete(12, "1234", "First");
    Scanner.ReqTimerTimer();
    Complete(13, "1234", "Second");
    Claim(twin, 13); // claimed again: nothing forgotten
    EXPECT_EQ(ListedAddresses(), (std::vector<unsigned>{12, 13}));
    EXPECT_EQ(Scanner.GetDeviceInfo(kAirmar)->ModelID, "First");
    EXPECT_EQ(Scanner.GetDeviceInfo(twin)->ModelID, "Second");
}

TEST_F(ScannerTest, ProductInformationIsStoredTrimmedWithUnknownNumbers) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Scanner.ReqTimerTimer();
    Part(12, "A,0,2.100,n/a,x,-");
    Part(12, "B,  DST810 ,  AIR-3321  ");
    Part(12, "C, 4.1 , Smart Transducer ");
    ASSERT_EQ(Scanner.DeviceCount(), 1u);
    const TDeviceInfo& d = *Scanner.GetDevices()[0];
    EXPECT_EQ(d.N2KVersion, "2.100");
    EXPECT_EQ(d.ProductCode, 0xFFFF);
    EXPECT_EQ(d.CertLvl, 255);
    EXPECT_EQ(d.LEN, 255);
    EXPECT_EQ(d.ModelID, "DST810");
    EXPECT_EQ(d.SerialNo, "AIR-3321");
    EXPECT_EQ(d.SwVersion, "4.1");
    EXPECT_EQ(d.ModelVersion, "Smart Transducer");
}

TEST_F(ScannerTest, ARaymarinePartNumberGivesWayToTheModelVersion) {
    Scanner.Scan();
    Claim(kRaymarine, 12);
    Claim(kRaymarine + 1, 13);
    Scanner.ReqTimerTimer();
    Complete(12, "1234", "E12345", "Display Unit");
    Scanner.ReqTimerTimer();
    Complete(13, "1234", "E1234A", "Display Unit");
    ASSERT_EQ(Scanner.DeviceCount(), 2u);
    EXPECT_EQ(Scanner.GetDevices()[0]->ModelID, "Display Unit");
    EXPECT_EQ(Scanner.GetDevices()[1]->ModelID, "E1234A");
}

struct BareCase {
    std::uint16_t maker;
    const char* id;
    bool bare;
};

class BarePartNumberTest : public testing::TestWithParam<BareCase> {};

TEST_P(BarePartNumberTest, IsRecognised) {
    TDeviceInfo device;
    device.Name = TName(std::uint64_t{GetParam().maker} << 21);
    device.ModelID = GetParam().id;
    EXPECT_EQ(IsBarePartNumber(device), GetParam().bare) << GetParam().id;
}

INSTANTIATE_TEST_SUITE_P(Cases, BarePartNumberTest,
                         testing::Values(BareCase{1851, "E12345", true}, BareCase{1851, "E123", true},
                                         BareCase{1851, "E12", false}, BareCase{1851, "E1234A", false},
                                         BareCase{1851, "e12345", false}, BareCase{1851, "E12345  ", true},
                                         BareCase{1851, "E123 4", false}, BareCase{1851, "A   ", true},
                                         BareCase{229, "E12345", false}));

TEST_F(ScannerTest, GetDeviceInfoIgnoresTheInstances) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Scanner.ReqTimerTimer();
    Complete(12);
    const std::uint64_t changed = kAirmar | (std::uint64_t{9} << 32) | (std::uint64_t{0x05} << 56);
    ASSERT_NE(Scanner.GetDeviceInfo(changed), nullptr);
    EXPECT_EQ(Scanner.GetDeviceInfo(changed)->SA, 12);
    EXPECT_EQ(Scanner.GetDeviceInfo(kAirmar + 1), nullptr);
}

TEST_F(ScannerTest, TheScanMovesOnBeforeTheConverterIsAnnounced) {
    Scanner.Scan();
    Claim(kRaymarine, 35);
    Claim(kAirmar, 40);
    Scanner.ReqTimerTimer();
    Complete(35, "16763");
    EXPECT_EQ(Notified, std::vector<int>{0});
    EXPECT_EQ(StateWhenNotified, TScanState::scNext);
    EXPECT_EQ(RequestWhenNotified, 40u);
    EXPECT_EQ(Scanner.DeviceCount(), 1u);
}

TEST_F(ScannerTest, OtherProductsAreNoConverter) {
    Scanner.Scan();
    Claim(kRaymarine, 35);
    Claim(kAirmar, 40);
    Scanner.ReqTimerTimer();
    Complete(35, "16762");
    Scanner.ReqTimerTimer();
    Complete(40, "16763");
    EXPECT_TRUE(Notified.empty());
}

TEST_F(ScannerTest, RequestsWaitUntilTheUniqueIdIsKnown) {
    Scanner.SetUniqueIdKnown(false);
    Scanner.Scan();
    Claim(kAirmar, 12);
    Scanner.ReqTimerTimer();
    Scanner.ReqTimerTimer();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Scanner.ScanState(), TScanState::scAddrClm);
    Scanner.SetUniqueIdKnown(true);
    Scanner.ReqTimerTimer();
    EXPECT_EQ(Requests(), std::vector<std::string>{"$PQZXNR,126996,12"});
}

TEST_F(ScannerTest, AClosedLinkEndsTheScan) {
    Scanner.Scan();
    Claim(kAirmar, 12);
    Host.Open = false;
    Scanner.ReqTimerTimer();
    EXPECT_FALSE(Scanner.ReqTimer.isActive());
    EXPECT_EQ(Scanner.GetRequestSA(), 255u);
    EXPECT_EQ(Scanner.ScanState(), TScanState::scIdle);
    EXPECT_TRUE(Requests().empty());
}

TEST(MfgTableTest, TheCarriedTableNamesTheMakers) {
    TFakeMuxHost host;
    const TN2KDeviceList scanner(host, {});
    const TMfgTable& table = scanner.GetMfgTable();
    EXPECT_EQ(table.Count(), 1649u);
    EXPECT_EQ(table[1], "Bendix Commercial Vehicle Systems LLC");
    EXPECT_EQ(table[1851], "Raymarine");
    EXPECT_EQ(table[135], "Airmar");
    EXPECT_EQ(table[229], "Garmin");
    EXPECT_EQ(table[1863], "Faria Instruments");
    EXPECT_EQ(table[0], "");
    EXPECT_EQ(table[5000], "");
}

TEST(MfgTableTest, ACodeWithoutANameIsShownAsUnknown) {
    TMfgTable table;
    table.Load("12\tTwelve\r\n");
    EXPECT_EQ(table.MakerName(12), "Twelve");
    EXPECT_EQ(table.MakerName(595), "Unknown (code 595)");
    EXPECT_EQ(table.MakerName(0), "Unknown (code 0)");
}

TEST(MfgTableTest, LinesThatAreNoEntryAreLeftOut) {
    TMfgTable table;
    table.Load("12\tTwelve\r\n2048\tToo big\r\nx1\tNot a number\r\nNo tab\r\n-3\tNegative\r\n"
               "7\t" +
               std::string(300, 'n') + "\r\n13\tLast without end");
    EXPECT_EQ(table.Count(), 3u);
    EXPECT_EQ(table[12], "Twelve");
    EXPECT_EQ(table[7].size(), 255u);
    EXPECT_EQ(table[13], "Last without end");
}

} // namespace

} // namespace kvl::test
