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

// A group at its natural size at the top left of its place: an aligned item
// still grows when its widget may (an edit field inside makes it), so the group
// may not grow at all.
void Anchor(QLayoutItem* item) {
    if (item->spacerItem() != nullptr)
        return;
    item->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (QWidget* widget = item->widget())
        widget->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
}

// Every group of the page (also those in a column of groups) anchored; a stretch
// after them takes the rest of the page.
void AnchorTopLeft(QWidget* page) {
    auto* layout = qobject_cast<QBoxLayout*>(page->layout());
    if (layout == nullptr)
        return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        Anchor(item);
        if (QLayout* inner = item->layout()) {
            for (int j = 0; j < inner->count(); ++j)
                Anchor(inner->itemAt(j));
            inner->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
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
