#include "network/XportLib.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QThread>

#include <algorithm>

namespace kvl {

TXPortTiming& XPortTiming() {
    static TXPortTiming timing;
    return timing;
}

std::vector<std::string> InterfaceBroadcastTargets() {
    std::vector<TInterfaceFacts> interfaces;
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        TInterfaceFacts facts;
        facts.Up = nic.flags().testFlag(QNetworkInterface::IsUp);
        facts.CanBroadcast = nic.flags().testFlag(QNetworkInterface::CanBroadcast);
        for (const QNetworkAddressEntry& entry : nic.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull())
                facts.Broadcasts.push_back(entry.broadcast().toString().toStdString());
        interfaces.push_back(std::move(facts));
    }
    return BroadcastTargetList(interfaces);
}

TXPort::TXPort() : ConnectTimeoutMs(XPortTiming().ConnectTimeoutMs) {
    // The modules are on the local network: a system proxy must never carry
    // (or delay, while it is looked up) their exchanges.
    UdpClient.setProxy(QNetworkProxy::NoProxy);
    TcpClient.setProxy(QNetworkProxy::NoProxy);
    // AnyIPv4: senders are then reported as plain dotted addresses.
    UdpClient.bind(QHostAddress::AnyIPv4, 0);
}

std::vector<std::string> TXPort::Targets() const {
    if (const auto& address = DiscoveryAddress())
        return {address->Address};
    return InterfaceBroadcastTargets();
}

std::uint16_t TXPort::Port() const {
    if (const auto& address = DiscoveryAddress())
        return address->Port;
    return kXPortPort;
}

void TXPort::Broadcast(const TXPortBytes& bytes) {
    const QByteArray datagram(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<qsizetype>(bytes.size()));
    // A target that cannot be reached (an interface going down meanwhile) costs
    // only its own copy.
    for (const std::string& target : Targets())
        UdpClient.writeDatagram(datagram, QHostAddress(QString::fromStdString(target)), Port());
}

int TXPort::Discover() {
    Found.clear();
    while (UdpClient.hasPendingDatagrams())
        UdpClient.receiveDatagram();
    Broadcast(XPortRequest(xport::kSearchRequest));
    for (;;) {
        if (!UdpClient.hasPendingDatagrams() && !UdpClient.waitForReadyRead(XPortTiming().ReadTimeoutMs))
            break;
        const QNetworkDatagram datagram = UdpClient.receiveDatagram();
        const QByteArray data = datagram.data();
        const TSearchAnswer answer = DecodeSearchAnswer(TXPortBytes(data.begin(), data.end()));
        if (answer.Kind == TSearchAnswer::TKind::EndOfSearch)
            break;
        if (answer.Kind == TSearchAnswer::TKind::Skipped)
            continue;
        // A module reached through several broadcast addresses answers each of them.
        std::string line = FoundLine(datagram.senderAddress().toString().toStdString(), answer.Mac);
        if (std::find(Found.begin(), Found.end(), line) == Found.end())
            Found.push_back(std::move(line));
    }
    return static_cast<int>(Found.size());
}

void TXPort::SendSetIP(const TXPortSetIP& setIP) {
    Broadcast(setIP.Encode());
}

bool TXPort::Connect(const std::string& host) {
    TcpClient.abort();
    TcpClient.connectToHost(QString::fromStdString(host), Port());
    if (TcpClient.waitForConnected(ConnectTimeoutMs))
        return true;
    TcpClient.abort();
    return false;
}

void TXPort::Disconnect() {
    if (TcpClient.state() == QAbstractSocket::ConnectedState) {
        TcpClient.disconnectFromHost();
        if (TcpClient.state() != QAbstractSocket::UnconnectedState)
            TcpClient.waitForDisconnected(XPortTiming().ReadTimeoutMs);
    }
    TcpClient.abort();
}

bool TXPort::Send(const TXPortBytes& bytes) {
    const qint64 size = static_cast<qint64>(bytes.size());
    if (TcpClient.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        return false;
    while (TcpClient.bytesToWrite() > 0)
        if (!TcpClient.waitForBytesWritten(XPortTiming().ReadTimeoutMs))
            return false;
    return true;
}

TXPortBytes TXPort::ReadExactly(std::size_t size) {
    const auto wanted = static_cast<qint64>(size);
    while (TcpClient.bytesAvailable() < wanted)
        if (!TcpClient.waitForReadyRead(XPortTiming().ReadTimeoutMs))
            return {};
    const QByteArray data = TcpClient.read(wanted);
    return TXPortBytes(data.begin(), data.end());
}

bool TXPort::Exchange(const TXPortBytes& bytes, std::size_t answerSize, std::uint8_t expected,
                      TXPortBytes* answer) {
    if (!Send(bytes))
        return false;
    TXPortBytes reply = ReadExactly(answerSize);
    if (reply.size() != answerSize || reply[xport::kCodeOffset] != expected)
        return false;
    if (answer)
        *answer = std::move(reply);
    return true;
}

void TXPort::Pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(std::max(ms, 0)));
}

bool TXPort::GetSetup(const std::string& host, TXPortSetup0& record) {
    if (!Connect(host))
        return false;
    TXPortBytes reply;
    const bool ok =
        Exchange(XPortRequest(xport::kSetupRequest), xport::kSetupSize, xport::kSetupReply, &reply);
    Disconnect();
    if (!ok)
        return false;
    record = *TXPortSetup0::FromBytes(reply);
    return true;
}

bool TXPort::SetSetup(const std::string& host, const TXPortSetup0& record, bool changeIP) {
    if (!Connect(host))
        return false;
    const bool ok = Exchange(EncodeSetupWrite(record, changeIP), xport::kAckSize, xport::kSetupAck);
    Disconnect();
    return ok;
}

bool TXPort::RestoreDefaults(const std::string& host) {
    const TXPortSetup0 factory = FactorySetup();
    const TXPortBytes reset = XPortResetCommand();
    if (!Connect(host))
        return false;
    bool ok = false;
    TXPortBytes extended;
    if (Exchange(XPortRequest(xport::kExtendedRequest), xport::kExtendedSize, xport::kExtendedReply,
                 &extended) &&
        Exchange(*ExtendedWriteFromReply(extended), xport::kAckSize, xport::kExtendedAck)) {
        Pause(XPortTiming().PauseMs);
        if (Exchange(reset, xport::kAckSize, xport::kResetAck)) {
            Pause(XPortTiming().PauseMs);
            ok = Exchange(TXPortBytes(factory.Bytes().begin(), factory.Bytes().end()), xport::kAckSize,
                          xport::kSetupAck);
        }
    }
    Disconnect();
    return ok;
}

bool TXPort::TryConnect(const std::string& host) {
    const bool connected = Connect(host);
    Disconnect();
    return connected;
}

} // namespace kvl
