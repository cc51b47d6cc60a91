// Backup and restore from the command line, for installers who look after many
// boats: the window's own code paths (Read Configuration, Save Configuration,
// Load Configuration with the write-all), run on a connected window that is not
// shown. Every message the window would show goes to the error stream instead;
// each one is a failure.
#pragma once

#include <QString>

#include <ostream>

namespace kvl {

class TMainForm;
struct TConnectTarget;

class TConfigBatch {
public:
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    // Longest a configuration read may take, the table dumps included.
    int ReadTimeoutMs = 15000;
    // --force: write a file with keys missing or refused all the same (they are
    // still listed). Without it such a file is not written.
    bool Force = false;

    TConfigBatch(TMainForm& form, std::ostream& err) : Form(form), Err(err) {}

    // The command line's batch: connects as --connect does, waits for the first
    // read, runs SaveConfig or LoadConfig, disconnects. 0 done, 1 failed.
    int Run(const TConnectTarget& target, const QString& saveFile, const QString& loadFile);

    // Reads the whole configuration and saves it to the file. An existing file
    // stays untouched when anything fails.
    int SaveConfig(const QString& fileName);
    // Checks the file first: one that cannot be read or is no configuration is
    // refused, and one with keys missing or refused is listed and refused unless
    // Force; nothing is written then. Otherwise reads the configuration (for the
    // identity and capabilities), loads the file, writes everything to the
    // multiplexer, reads the configuration back and compares it with the file;
    // every difference is printed.
    int LoadConfig(const QString& fileName);

private:
    // Runs Read Configuration until its RDY; false (with the reason printed) when
    // it fails or never ends.
    bool ReadConfiguration();
    bool Failed(const char* what);

    TMainForm& Form;
    std::ostream& Err;
};

} // namespace kvl
