// The serial ports present on the computer, named for the port list.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kvl {

struct TSerialPortEntry {
    std::string Friendly; // shown in the port list, e.g. "USB Serial Port (ttyUSB0)"
    std::string Port;     // opened by the link, e.g. "/dev/ttyUSB0"
};

// "description (name)", or the name alone when the device has no description.
std::string SerialFriendlyName(const std::string& description, const std::string& portName);

// Case-insensitive order of friendly name + "," + port name.
void SortSerialPorts(std::vector<TSerialPortEntry>& ports);

// The present serial ports, sorted. Pseudo-terminals are not among them.
std::vector<TSerialPortEntry> EnumSerialPorts();

// EnumSerialPorts for a poll: a full enumeration takes milliseconds of CPU, so
// it runs only when the device folder changed (a device node came or went) and
// once more on the next call, when the system has described the new device.
class TSerialPortPoll {
public:
    using TEnumerate = std::vector<TSerialPortEntry> (*)();

    explicit TSerialPortPoll(std::string deviceFolder = "/dev", TEnumerate enumerate = EnumSerialPorts)
        : Folder(std::move(deviceFolder)), Enumerate(enumerate) {}
    std::vector<TSerialPortEntry> operator()();

private:
    std::string Folder;
    TEnumerate Enumerate;
    std::string Stamp; // the folder's change time when last enumerated
    bool Settling = true;
    std::vector<TSerialPortEntry> Last;
};

} // namespace kvl
