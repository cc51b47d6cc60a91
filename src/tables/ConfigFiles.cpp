#include "tables/ConfigFiles.h"

#include "host/Dialogs.h"
#include "host/ProgramVersion.h"
#include "model/FileAccess.h"
#include "model/FileError.h"

#include <QFile>
#include <QFileInfo>

namespace kvl {

namespace {

std::string FileBytes(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QString ErrorText(const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
}

// The dialogs' default extension.
QString WithExtension(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QStringLiteral(".ini");
}

} // namespace

TLoadReport TConfigFiles::Load(const QString& fileName) {
    return Host.Config().Load(FileBytes(fileName));
}

void TConfigFiles::Save(const QString& fileName) {
    const TMuxIdentity identity = Host.Identity();
    Host.Config().Save(FileBytes(fileName),
                       std::string("Korvelan-3 Configuration Tool V") + GetProgramVersion(), identity.Device,
                       identity.FirmwareVersion, identity.Serial);
}

void TConfigFiles::SetCfgFileName(const QString& fileName) {
    CfgFileName = fileName;
    Host.ShowConfigFileName(fileName);
}

bool TConfigFiles::LoadAndWrite(const QString& fileName, bool clearSources) {
    TLoadReport report;
    try {
        // A file that cannot be read changes nothing, not even the data sources.
        if (clearSources) {
            (void)ReadWholeFile(FileBytes(fileName));
            Host.Config().DataSrcClear();
        }
        report = Load(fileName);
    } catch (const EFileError& error) {
        Dialogs().ShowMessage(ErrorText(error)); // nothing is sent: the model is unchanged
        return false;
    }
    if (!report.Empty()) {
        QString text = QStringLiteral("Not everything in ") + fileName + QStringLiteral(" was used:");
        for (const std::string& note : report.Notes)
            text += QStringLiteral("\r") + QString::fromLatin1(note);
        Dialogs().ShowMessage(text);
    }
    Host.UpdateView();
    Host.WriteAllSettings();
    return true;
}

void TConfigFiles::miLoadClick() {
    const QString fileName = Dialogs().OpenFileName(kOpenFilters, 0);
    if (!fileName.isEmpty())
        LoadAndWriteFile(fileName);
}

void TConfigFiles::LoadAndWriteFile(const QString& fileName) {
    SetCfgFileName(fileName);
    LoadAndWrite(fileName, false);
}

bool TConfigFiles::SaveTo(const QString& fileName) {
    try {
        Save(fileName);
        return true;
    } catch (const EFileError& error) {
        Dialogs().ShowMessage(ErrorText(error));
        return false;
    }
}

QString TConfigFiles::AskSaveName() {
    return WithExtension(Dialogs().SaveFileName(kSaveFilters, SaveFilter, CfgFileName));
}

void TConfigFiles::miSaveClick() {
    if (!CfgFileName.isEmpty()) {
        if (!SaveTo(CfgFileName))
            return;
    } else {
        SaveFilter = kSaveFilterConfig;
        const QString fileName = AskSaveName();
        if (!fileName.isEmpty()) {
            SetCfgFileName(fileName);
            if (!SaveTo(fileName))
                return;
        }
    }
    Host.UpdateView();
}

void TConfigFiles::miSaveAsClick() {
    const QString fileName = AskSaveName();
    if (!fileName.isEmpty()) {
        SetCfgFileName(fileName);
        if (!SaveTo(fileName))
            return;
    }
    Host.UpdateView();
}

void TConfigFiles::HandleDroppedFiles(const QStringList& files) {
    for (const QString& fileName : files) {
        if (fileName.endsWith(QStringLiteral(".ini"))) {
            SetCfgFileName(fileName);
            LoadAndWrite(fileName, true); // the load empties the three tables itself
        } else if (fileName.endsWith(QStringLiteral(".txt"))) {
            Host.SendTextFile(fileName);
        }
        if (!Host.IsLinkOpen())
            return; // a write that lost the link ends the drop
    }
}

} // namespace kvl
