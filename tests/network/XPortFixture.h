// Simulated XPort modules on loopback and the tool's search pointed at their
// loopback broadcast address, with the waits of the exchanges shortened.
#pragma once

#include "XPortModule.h"
#include "network/XportLib.h"
#include "network/records/DiscoveryTargets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kvl::test {

inline TXPortBytes Bytes(const sim::XPortPacket& packet) {
    return TXPortBytes(packet.begin(), packet.end());
}

class XPortTest : public testing::Test {
protected:
    void SetUp() override {
        SavedTiming = XPortTiming();
        XPortTiming().ConnectTimeoutMs = 2000;
        XPortTiming().ReadTimeoutMs = 300;
        XPortTiming().PauseMs = 10;
    }
    void TearDown() override {
        SetDiscoveryAddress(std::nullopt);
        XPortTiming() = SavedTiming;
        for (auto& module : Modules)
            module->Stop();
    }

    // A module at address; the first one's port is the port of every later one.
    sim::XPortModule& AddModule(const std::string& address, sim::XPortModuleOptions options = {}) {
        options.address = address;
        options.port = Modules.empty() ? 0 : Modules.front()->Port();
        Modules.push_back(std::make_unique<sim::XPortModule>(options));
        Modules.back()->Start();
        SetDiscoveryAddress(TXPortEndpoint{"127.255.255.255", Modules.front()->Port()});
        return *Modules.back();
    }

    std::vector<std::unique_ptr<sim::XPortModule>> Modules;
    TXPortTiming SavedTiming;
};

} // namespace kvl::test
