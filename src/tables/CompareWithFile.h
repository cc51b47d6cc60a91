// TCompareWithFile: the main window's "Compare with File...": a configuration
// file read into a model of its own, shown against the connected multiplexer's
// configuration before anything is written. "Write File to Device" then loads
// and writes the file exactly as "Load Configuration..." does.
#pragma once

#include "host/MuxHost.h"

#include <QString>

class QWidget;

namespace kvl {

class TConfigFiles;

class TCompareWithFile {
public:
    TCompareWithFile(TMuxHost& host, TConfigFiles& files, QWidget* dialogParent)
        : Host(host), Files(files), DialogParent(dialogParent) {}

    void miCompareClick();
    // The comparison with one file, without the file dialog.
    void CompareWith(const QString& fileName);

private:
    TMuxHost& Host;
    TConfigFiles& Files;
    QWidget* DialogParent;
};

} // namespace kvl
