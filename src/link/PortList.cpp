#include "link/PortList.h"

#include <QFile>
#include <QSerialPortInfo>

#include <algorithm>
#include <sys/stat.h>

namespace kvl {

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
    });
}

} // namespace

std::string SerialFriendlyName(const std::string& description, const std::string& portName) {
    if (description.empty())
        return portName;
    return description + " (" + portName + ")";
}

void SortSerialPorts(std::vector<TSerialPortEntry>& ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const TSerialPortEntry& a, const TSerialPortEntry& b) {
        return LessNoCase(a.Friendly + "," + a.Port, b.Friendly + "," + b.Port);
    });
}

std::vector<TSerialPortEntry> EnumSerialPorts() {
    std::vector<TSerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        // The window shows 8-bit text as Latin-1; the path goes to open() as the
        // file system encodes it.
        const std::string name = info.portName().toLatin1().toStdString();
        const std::string description = info.description().toLatin1().toStdString();
        ports.push_back(
            {SerialFriendlyName(description, name), QFile::encodeName(info.systemLocation()).toStdString()});
    }
    SortSerialPorts(ports);
    return ports;
}

std::vector<TSerialPortEntry> TSerialPortPoll::operator()() {
    struct stat info {};
    std::string stamp;
    if (::stat(Folder.c_str(), &info) == 0)
        stamp = std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + "/" +
                std::to_string(info.st_ctim.tv_sec) + "." + std::to_string(info.st_ctim.tv_nsec);
    const bool changed = stamp.empty() || stamp != Stamp;
    if (changed || Settling) {
        Last = Enumerate();
        Settling = changed;
        Stamp = stamp;
    }
    return Last;
}

} // namespace kvl
