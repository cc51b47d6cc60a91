// The traffic log file: plain, or diagnostic with a direction tag in front of
// every line. Lines are gathered and written in blocks (Flush, or when a block
// is full): at full traffic one write per drain instead of one per line. Every
// write and the close are checked; a failure throws EInOutError with the
// system's message and leaves what was written intact.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvl {

class TTrafficLog {
public:
    enum class TDirection { Received, Sent };

    TTrafficLog() = default;
    ~TTrafficLog();
    TTrafficLog(const TTrafficLog&) = delete;
    TTrafficLog& operator=(const TTrafficLog&) = delete;

    // Creates (or replaces) the file. Throws EInOutError when it cannot.
    void Open(const std::string& path, bool diagnostic);
    static constexpr std::size_t kBlockSize = 64 * 1024; // written at once when full

    // Appends one line with CR LF to the block; the TAG block is written only to a
    // diagnostic log.
    void WriteLine(std::string_view tagBlock, std::string_view text, TDirection direction);
    // Writes the gathered lines.
    void Flush();
    // Writes the gathered lines and closes the file; throws EInOutError when
    // either fails (the file is closed all the same).
    void Close();
    bool IsOpen() const { return Fd >= 0; }
    bool IsDiagnostic() const { return Diagnostic; }

    // The diagnostic prefixes: "\t:rx*44\" and "\t:tx*42\".
    static std::string DiagnosticTag(TDirection direction);

private:
    int Fd = -1;
    bool Diagnostic = false;
    std::string Block; // lines not yet written
};

} // namespace kvl
