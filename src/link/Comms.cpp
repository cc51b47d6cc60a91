#include "link/Comms.h"

#include "link/NetResource.h"
#include "link/PortList.h"
#include "link/SerialPort.h"
#include "link/SerialThread.h"
#include "link/SimThread.h"
#include "link/TCPThread.h"
#include "link/TcpClient.h"
#include "link/UDPServer.h"
#include "sentence/NmeaText.h"

#include "HostPipe.h"
#include "SimModels.h"
#include "Simulator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <thread>

namespace kvl {

namespace {

constexpr std::array<int, 9> kBaudRates = {4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
constexpr int kFallbackBaud = 115200;
constexpr auto kRecvTimeOut = std::chrono::milliseconds(2000);
constexpr auto kRecvPoll = std::chrono::milliseconds(1);

} // namespace

int TComm::BaudForIndex(int speedIndex) {
    if (speedIndex < 0 || speedIndex >= static_cast<int>(kBaudRates.size()))
        return kFallbackBaud;
    return kBaudRates[static_cast<std::size_t>(speedIndex)];
}

TComm::TComm(QObject* parent)
    : QObject(parent), Enumerated(EnumSerialPorts()), UDPServer(std::make_unique<TUDPServer>(*this)) {
    RebuildPortLists();
}

TComm::~TComm() {
    ClosePort();
}

void TComm::AddSerialPort(const std::string& friendlyName, const std::string& portName) {
    Added.push_back({friendlyName, portName});
    RebuildPortLists();
}

bool TComm::UpdateSerialPorts(const std::vector<TSerialPortEntry>& present) {
    const auto same = [](const TSerialPortEntry& a, const TSerialPortEntry& b) {
        return a.Friendly == b.Friendly && a.Port == b.Port;
    };
    if (std::equal(present.begin(), present.end(), Enumerated.begin(), Enumerated.end(), same))
        return false;
    Enumerated = present;
    RebuildPortLists();
    return true;
}

void TComm::RebuildPortLists() {
    PortNames = {"UDP All", "UDP", "TCP"};
    FriendlyNames = PortNames;
    for (const auto* entries : {&Enumerated, &Added}) {
        for (const TSerialPortEntry& entry : *entries) {
            PortNames.push_back(entry.Port);
            FriendlyNames.push_back(entry.Friendly);
        }
    }
}

TCommMode TComm::OpenPort(TCommMode mode, const std::string& resource, int option) {
    ClosePort(); // one link at a time
    switch (mode) {
    case TCommMode::cmSerial:
        OpenSerial(resource, option);
        break;
    case TCommMode::cmUDP:
        OpenUDP(resource, option);
        break;
    case TCommMode::cmTCP:
        OpenTCP(resource);
        break;
    case TCommMode::cmSim:
        OpenSim(resource);
        break;
    case TCommMode::cmClosed:
        break;
    }
    return Mode;
}

void TComm::OpenSerial(const std::string& path, int speedIndex) {
    TFileDescriptor port = OpenSerialPort(path, BaudForIndex(speedIndex));
    if (!port.Valid()) {
        OpenError = errno;
        return;
    }
    OpenError = 0;
    Handle = std::move(port);
    Thread = std::make_unique<TSerialThread>(*this, Handle.Get());
    Thread->Start();
    Mode = TCommMode::cmSerial;
}

void TComm::OpenUDP(const std::string& resource, int option) {
    Port = kDefaultPort;
    const TNetResource target = SplitResource(resource, kDefaultPort);
    Port = target.Port;
    UDPServer->Open(Port, target.Host);
    FilterUDP = (option == 1);
    Mode = TCommMode::cmUDP;
}

void TComm::OpenTCP(const std::string& resource) {
    Port = kDefaultPort;
    const TNetResource target = SplitResource(resource, kDefaultPort);
    Port = target.Port;
    Handle = ConnectTcp(target.Host, Port);
    Thread = std::make_unique<TTCPThread>(*this, Handle.Get());
    Thread->Start();
    Mode = TCommMode::cmTCP;
}

void TComm::OpenSim(const std::string& model) {
    const sim::SimModel* found = sim::FindSimModel(model);
    if (found == nullptr)
        throw ECommError("There is no simulated model " + model);
    sim::SimOptions options = sim::ModelOptions(*found);
    auto pipe = std::make_shared<sim::HostPipe>();
    options.hostPipe = pipe;
    auto device = std::make_unique<sim::Simulator>(std::move(options));
    try {
        device->Start();
    } catch (const std::exception& e) {
        throw ECommError(e.what());
    }
    SimPipe = std::move(pipe);
    SimDevice = std::move(device);
    Thread = std::make_unique<TSimThread>(*this, SimPipe);
    Thread->Start();
    Mode = TCommMode::cmSim;
}

void TComm::ClosePort() {
    // Stop and join the reader before its descriptor is closed: Linux hands the
    // number to the next open at once.
    if (Thread) {
        Thread->RequestStop();
        Thread->Join();
        Thread.reset();
    }
    if (SimDevice) {
        SimDevice->Stop();
        SimDevice.reset();
        SimPipe.reset();
    }
    if (Mode == TCommMode::cmSerial)
        ReleaseSerialPort(Handle);
    Handle.Close();
    UDPServer->Close();
    Mode = TCommMode::cmClosed;
}

void TComm::Write(const std::uint8_t* data, std::size_t size) {
    switch (Mode) {
    case TCommMode::cmSerial:
        WriteSerial(Handle.Get(), data, size);
        break;
    case TCommMode::cmTCP:
        // The reader has seen the connection end; a write might still be
        // accepted by the socket once, but nothing will ever answer it.
        if (Thread->Lost())
            throw ECommError(ErrorText(EPIPE));
        WriteTcp(Handle.Get(), data, size);
        break;
    case TCommMode::cmUDP:
        UDPServer->Send(std::string(reinterpret_cast<const char*>(data), size));
        break;
    case TCommMode::cmSim:
        SimPipe->HostWrite(data, size);
        break;
    case TCommMode::cmClosed:
        break;
    }
}

void TComm::SendNmea(const std::string& text) {
    if (text.empty() || Mode == TCommMode::cmClosed || InLinkMode())
        return; // the bootloader must see nothing but packets
    std::string out = text;
    if (text.find('*') == std::string::npos) {
        out += '*';
        out += ChecksumHex(NmeaChecksum(text, text.size()));
    }
    out += "\r\n";
    Write(reinterpret_cast<const std::uint8_t*>(out.data()), out.size());
}

void TComm::EnterLinkMode() {
    if (Thread)
        Thread->RequestMode(true);
}

void TComm::ExitLinkMode() {
    if (Thread)
        Thread->RequestMode(false);
}

bool TComm::InLinkMode() const {
    return Thread && Thread->LinkMode();
}

void TComm::Send(const TPacket& packet) {
    if (Mode != TCommMode::cmSerial && Mode != TCommMode::cmTCP && Mode != TCommMode::cmSim)
        return;
    const std::vector<std::uint8_t> frame = EncodeFrame(packet);
    Write(frame.data(), frame.size());
}

TRxState TComm::Recv(TPacket& packet) {
    if (!Thread)
        return TRxState::stIdle; // UDP and closed links have no packets
    const auto deadline = std::chrono::steady_clock::now() + kRecvTimeOut;
    for (;;) {
        if (Thread->TakePacket(packet))
            return TRxState::stReady;
        if (Thread->Lost() || std::chrono::steady_clock::now() > deadline) {
            Thread->RequestDropPartial();
            return TRxState::stTimeOut;
        }
        std::this_thread::sleep_for(kRecvPoll);
    }
}

void TComm::QueueLine(const std::string& line) {
    QueueLine(line, Clock::now());
}

void TComm::QueueLine(const std::string& line, Clock::time_point arrival) {
    TQueuedLine copy{line, arrival}; // allocate outside the lock
    TQueuedLine oldest;              // and release outside it too
    {
        std::lock_guard<std::recursive_mutex> lock(QueueSection);
        if (Queue.size() >= kQueueLimit) {
            oldest = std::move(Queue.front());
            Queue.pop_front();
            Dropped.fetch_add(1, std::memory_order_relaxed);
        }
        Queue.push_back(std::move(copy));
    }
}

bool TComm::TakeLine(std::string& line) {
    Clock::time_point arrival;
    return TakeLine(line, arrival);
}

bool TComm::TakeLine(std::string& line, Clock::time_point& arrival) {
    std::lock_guard<std::recursive_mutex> lock(QueueSection);
    if (Queue.empty())
        return false;
    line = std::move(Queue.front().Text);
    arrival = Queue.front().Arrival;
    Queue.pop_front();
    return true;
}

std::size_t TComm::QueuedLines() const {
    std::lock_guard<std::recursive_mutex> lock(QueueSection);
    return Queue.size();
}

} // namespace kvl
