// The serial ports present on the computer, named for the port list.
#pragma once

#include <string>
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

} // namespace kvl
