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

class TTables;

class TConfigFiles {
public:
    TConfigFiles(TMuxHost& host, TTables& tables) : Host(host), Tables(tables) {}

    void miLoadClick();
    void miSaveClick();
    void miSaveAsClick();
    // ".ini" files are loaded and written, ".txt" files sent line by line; other
    // files (".INI" too) are ignored.
    void HandleDroppedFiles(const QStringList& files);

    // The steps the commands share, also used from the command line. Both throw
    // EFileError; Load leaves the model unchanged then, as it does for a file
    // that is not a configuration ("X is not a Korvelan configuration file").
    TLoadReport Load(const QString& fileName);
    // Reads the file into a model of its own: what Load would report, the model untouched.
    static TLoadReport Check(const QString& fileName);
    void Save(const QString& fileName);
    // What "Load Configuration..." does with the chosen file: it goes into the
    // model, is written to the multiplexer and becomes the current file. Nothing
    // changes (model, file name, device) when the write-all would be refused, the
    // file cannot be read or is no configuration, or the user declines a file
    // with keys missing or refused, or declines to lose table edits.
    void LoadAndWriteFile(const QString& fileName);

    // The current configuration file, empty until one is chosen or dropped.
    QString CfgFileName;

private:
    void SetCfgFileName(const QString& fileName);
    // Loads the file and writes it to the multiplexer; false when nothing was done.
    bool LoadAndWrite(const QString& fileName);
    bool SaveTo(const QString& fileName);
    QString AskSaveName();

    TMuxHost& Host;
    TTables& Tables;
    int SaveFilter = 0; // the save dialog's filter, as the user left it
};

} // namespace kvl
