// The traffic log file: plain, or diagnostic with a direction tag in front of
// every line. Every write and the close are checked; a failure throws
// EInOutError with the system's message and leaves what was written intact.
#pragma once

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
    // Appends one line with CR LF; the TAG block is written only to a diagnostic log.
    void WriteLine(std::string_view tagBlock, std::string_view text, TDirection direction);
    // Closes the file; throws EInOutError when the close reports a failure.
    void Close();
    bool IsOpen() const { return Fd >= 0; }
    bool IsDiagnostic() const { return Diagnostic; }

    // The diagnostic prefixes: "\t:rx*44\" and "\t:tx*42\".
    static std::string DiagnosticTag(TDirection direction);

private:
    int Fd = -1;
    bool Diagnostic = false;
};

} // namespace kvl
