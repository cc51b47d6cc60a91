#include "TablesFixture.h"

#include "tables/RouteGrid.h"

#include <QPushButton>

using namespace kvl;
using namespace kvl::test;

TEST_F(TablesTest, CaptureRecordsTheTrafficAsRoutesToTheHostAndWiFi) {
    sim::SimOptions options;
    options.trafficRate = 200;
    sim::DeviceConfig config = sim::FactoryConfig(options.uid);
    config.options |= 1u << 5; // TAG blocks: every line names its source
    options.initialConfig = config;
    StartSimulator(options);
    CreateForm();
    ConnectAndRead();
    auto* capture = Control<QPushButton>("btnRouteCapture");
    ASSERT_EQ(capture->text(), "Capture");
    capture->click();
    EXPECT_EQ(Form->GetRXState(), TRXState::stCapture);
    EXPECT_EQ(capture->text(), "Stop");
    EXPECT_TRUE(capture->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("btnReadConfig")->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return Form->Config().RoutingTable.size() >= 5; }));
    capture->click();
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_EQ(capture->text(), "Capture");

    bool someFromAnInput = false;
    for (const auto& route : Form->Config().RoutingTable) {
        EXPECT_EQ(route->Route, 0x30) << route->Address;
        EXPECT_EQ(route->Address.size(), 5u);
        EXPECT_EQ(route->Inputs & 0x40, 0) << route->Address; // no bit beyond the host's
        someFromAnInput = someFromAnInput || (route->Inputs & 0x0F) != 0;
    }
    EXPECT_TRUE(someFromAnInput);
    QCoreApplication::processEvents();
    EXPECT_EQ(Control<TRouteGrid>("RouteGrid")->rowCount(),
              static_cast<int>(Form->Config().RoutingTable.size()));
}
