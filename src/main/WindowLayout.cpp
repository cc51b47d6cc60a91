// The main window on a desktop of any size: it starts at its natural size, which
// is also its minimum; what it gains goes to the traffic view, while every
// settings group keeps its natural size at the top left of its page (a row's
// controls stay together). A splitter shares the height between the traffic view
// and the tabs. Size, position and splitter are kept in the stored settings.
#include "main/MainForm.h"
#include "ui_MainForm.h"

#include <QBoxLayout>
#include <QSettings>
#include <QSplitter>

namespace kvl {

namespace {

const QString kGeometryKey = QStringLiteral("WindowGeometry");
const QString kSplitterKey = QStringLiteral("TrafficSplitter");

// Every item of the page at its natural size at the top left; a stretch after
// them takes the rest of the page.
void AnchorTopLeft(QWidget* page) {
    auto* layout = qobject_cast<QBoxLayout*>(page->layout());
    if (layout == nullptr)
        return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->spacerItem() != nullptr)
            continue;
        item->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A column of groups inside the page: its groups at their natural width too.
        if (QLayout* inner = item->layout()) {
            for (int j = 0; j < inner->count(); ++j)
                if (inner->itemAt(j)->spacerItem() == nullptr)
                    inner->itemAt(j)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
    }
    layout->addStretch(1);
}

} // namespace

void TMainForm::ArrangeWindow() {
    for (QWidget* page : {ui->tabInOut, ui->tabOptions, ui->tabConversions, ui->tabNMEA2000})
        AnchorTopLeft(page);
    ui->splTraffic->setStretchFactor(0, 1);
    ui->splTraffic->setStretchFactor(1, 0);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    adjustSize();
    setMinimumSize(sizeHint());
    resize(sizeHint());
}

void TMainForm::RestoreWindowState() {
    QSettings settings = StoredSettings();
    if (settings.contains(kGeometryKey))
        restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (settings.contains(kSplitterKey))
        ui->splTraffic->restoreState(settings.value(kSplitterKey).toByteArray());
}

void TMainForm::SaveWindowState(QSettings& settings) const {
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kSplitterKey, ui->splTraffic->saveState());
}

} // namespace kvl
