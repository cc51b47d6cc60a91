// The multiplexer simulated inside the program: the last entry of the port list.
// Connecting to it asks for the model (unless the command line named one), starts
// the simulator on an in-process link, and marks the window "(simulated)" so that
// nobody takes it for a boat's device.
#include "host/Dialogs.h"
#include "host/ProgramVersion.h"
#include "main/MainForm.h"
#include "main/SimModelDialog.h"
#include "ui_MainForm.h"

#include "SimModels.h"

namespace kvl {

namespace {
const QString kSimEntryName = QStringLiteral("Simulated Korvelan-3");
} // namespace

// After the link's own entries (network and serial ports).
int TMainForm::SimEntryIndex() const {
    return static_cast<int>(Link->Ports().size());
}

void TMainForm::AddSimEntry() {
    ui->cbPort->addItem(kSimEntryName);
}

bool TMainForm::IsSimEntry() const {
    return ui->cbPort->currentIndex() == SimEntryIndex();
}

QString TMainForm::SimulatedSuffix() const {
    return IsSimulated() ? QStringLiteral(" (simulated)") : QString();
}

void TMainForm::ShowTitle() {
    setWindowTitle(QStringLiteral("Korvelan-3 Configuration Tool V") +
                   QString::fromLatin1(GetProgramVersion()) + SimulatedSuffix());
}

void TMainForm::OpenSimLink() {
    std::optional<std::string> model = std::exchange(GivenSimModel, std::nullopt);
    if (!model) {
        model = SimModelChooser ? SimModelChooser(SimModelCode) : TSimModelDialog::Choose(SimModelCode, this);
        if (!model)
            return; // cancelled: nothing opens
    }
    if (sim::FindSimModel(*model) == nullptr) {
        Dialogs().ShowMessage(QStringLiteral("There is no simulated model ") +
                              QString::fromStdString(*model));
        return;
    }
    SimModelCode = sim::FindSimModel(*model)->code;
    Link->OpenPort(TCommMode::cmSim, SimModelCode, 0);
    SaveSettings(false);
}

} // namespace kvl
