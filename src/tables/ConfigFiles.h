// TConfigFiles: the configuration file commands of the main window: "Load
// Configuration..." (the file goes into the model and is written to the
// multiplexer at once), "Save Configuration", "Save Configuration As..." and
// files dropped on the window. It reaches the multiplexer only through TMuxHost.
#pragma once

#include "host/MuxHost.h"
#include "model/LoadReport.h"

#include <QString>
#include <QStringList>

namespace kvl {

class TConfigFiles {
public:
    explicit TConfigFiles(TMuxHost& host) : Host(host) {}

    void miLoadClick();
    void miSaveClick();
    void miSaveAsClick();
    // ".ini" files are loaded and written, ".txt" files sent line by line; other
    // files (".INI" too) are ignored.
    void HandleDroppedFiles(const QStringList& files);

    // The steps the commands share, also used from the command line. Both throw
    // EFileError; Load leaves the model unchanged then.
    TLoadReport Load(const QString& fileName);
    void Save(const QString& fileName);
    // What "Load Configuration..." does with the chosen file: it becomes the
    // current file, goes into the model and is written to the multiplexer.
    void LoadAndWriteFile(const QString& fileName);

    // The current configuration file, empty until one is chosen or dropped.
    QString CfgFileName;

private:
    void SetCfgFileName(const QString& fileName);
    // Loads the file and writes it to the multiplexer; false when it could not be
    // read. A dropped file also empties the data sources first.
    bool LoadAndWrite(const QString& fileName, bool clearSources);
    bool SaveTo(const QString& fileName);
    QString AskSaveName();

    TMuxHost& Host;
    int SaveFilter = 0; // the save dialog's filter, as the user left it
};

} // namespace kvl
