#include "main/TrafficLog.h"

#include "host/MainErrors.h"
#include "sentence/NmeaText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kvl {

namespace {

std::string SystemMessage(int error) {
    return std::strerror(error);
}

} // namespace

TTrafficLog::~TTrafficLog() {
    if (Fd < 0)
        return;
    try {
        Flush();
    } catch (const EInOutError&) {
        // Nobody is left to tell; what was written before stays.
    }
    ::close(Fd);
}

std::string TTrafficLog::DiagnosticTag(TDirection direction) {
    const std::string params = direction == TDirection::Received ? "\\t:rx" : "\\t:tx";
    return params + "*" + ChecksumHex(NmeaChecksum(params, params.size())) + "\\";
}

void TTrafficLog::Open(const std::string& path, bool diagnostic) {
    if (Fd >= 0)
        Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EInOutError(SystemMessage(errno));
    Fd = fd;
    Diagnostic = diagnostic;
}

void TTrafficLog::WriteLine(std::string_view tagBlock, std::string_view text, TDirection direction) {
    if (Fd < 0)
        return;
    if (Diagnostic) {
        // The two tags never change: made once, not for every line.
        static const std::string kReceived = DiagnosticTag(TDirection::Received);
        static const std::string kSent = DiagnosticTag(TDirection::Sent);
        Block += direction == TDirection::Received ? kReceived : kSent;
        Block += tagBlock;
    }
    Block += text;
    Block += "\r\n";
    if (Block.size() >= kBlockSize)
        Flush();
}

void TTrafficLog::Flush() {
    if (Fd < 0 || Block.empty())
        return;
    // What did not fit stays out of the file: a full disk is reported at the block
    // that failed, and every block before it is in the file.
    std::string block;
    block.swap(Block);
    std::string_view rest = block;
    while (!rest.empty()) {
        const ssize_t written = ::write(Fd, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw EInOutError(SystemMessage(errno));
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

void TTrafficLog::Close() {
    if (Fd < 0)
        return;
    std::string flushError;
    try {
        Flush();
    } catch (const EInOutError& e) {
        flushError = e.what();
    }
    Block.clear();
    const int fd = Fd;
    Fd = -1;
    if (::close(fd) != 0)
        throw EInOutError(SystemMessage(errno));
    if (!flushError.empty())
        throw EInOutError(flushError);
}

} // namespace kvl
