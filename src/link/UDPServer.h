// The UDP side of the link: a socket bound to all IPv4 addresses, read on the
// window thread through a QSocketNotifier. Each sender has its own line framing,
// so lines of two multiplexers that reach the tool interleaved are never spliced.
#pragma once

#include "link/FileDescriptor.h"
#include "link/LineFraming.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace kvl {

class TComm;

class TUDPServer {
public:
    // Senders remembered at once; the one heard from least recently gives way.
    static constexpr std::size_t kMaxSenders = 16;

    explicit TUDPServer(TComm& parent);
    ~TUDPServer();
    TUDPServer(const TUDPServer&) = delete;
    TUDPServer& operator=(const TUDPServer&) = delete;

    // Binds port on all IPv4 addresses, sharing it with other programs that also
    // allow reuse. Throws ECommError with the socket layer's message.
    void Open(int port, const std::string& host);
    void Close();
    bool Listening() const { return Socket.Valid(); }

    // One datagram to Host at the listening port. Throws ECommError when the
    // host cannot be resolved or the send fails.
    void Send(const std::string& text);

    // One received datagram: sender filter, then the sender's own line framing.
    void UDPRead(const std::uint8_t* data, std::size_t size, const std::string& senderAddress,
                 std::uint16_t senderPort);

    std::string Host; // the multiplexer: destination and, when filtering, the only sender

private:
    struct TSender {
        std::string Key; // address:port
        TLineFraming Framing;
        std::uint64_t LastUse = 0;
    };

    void OnReadable();
    TLineFraming& FramingFor(const std::string& key);
    const sockaddr_in& Destination();

    TComm& Parent;
    int Port = 0;
    TFileDescriptor Socket;
    std::unique_ptr<QSocketNotifier> Notifier;
    std::vector<TSender> Senders;
    std::uint64_t UseCounter = 0;
    std::vector<std::uint8_t> Datagram;
    std::optional<sockaddr_in> ResolvedHost;
};

} // namespace kvl
