#include "DeviceConfig.h"

#include "SimFields.h"

namespace kvl::sim {

DeviceConfig FactoryConfig(const std::string& uid) {
    DeviceConfig config;
    config.prioTimeout = 3;        // 5 s
    config.baud = {0, 0, 0, 3, 0}; // inputs at 4800, AIS input 4 / output 1 at 38400
    config.uid = uid;
    config.defRouteOut1 = 0x9F; // every input, the conversions and NMEA 2000
    config.modeOut1 = 1;        // host data on output 1
    config.defRouteOut2 = 0x1F;
    config.modeOut2 = 0;
    config.options = 0x00000008;                // check GPS status
    config.n2kOptions = 0x0000020F;             // RMC, GGA, GLL, VTG and ZDA from NMEA 2000
    config.deviceFunction = {1, 0, 0, 0, 2, 0}; // PC gateway, NMEA 0183 gateways, AIS on input 4
    config.sourceAddress = {34, 35, 36, 37, 38, 39};
    config.modbusSlaveAddress = 1;
    config.modbusXdrInterval = 100; // 1 s
    config.modbusPollInterval = 10; // 100 ms
    return config;
}

std::uint16_t DeviceIdentity::CapsWord() const {
    const auto value = ReadHex(caps, 1, 4);
    return value ? static_cast<std::uint16_t>(*value) : 0;
}

} // namespace kvl::sim
