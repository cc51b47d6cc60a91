// The "Details" pane under the traffic view. The form is left as it is: the view
// is put into a splitter with the pane at run time, wherever the form's layout
// has placed it, and a "Details" box joins the view options.
#include "views/DetailsPane.h"
#include "host/Guarded.h"
#include "main/MainForm.h"
#include "ui_MainForm.h"
#include "views/TrafficDetails.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLayout>
#include <QSplitter>

namespace kvl {

namespace {

constexpr int kPaneMinimumHeight = 80;

// Puts the splitter where the view was: in a splitter of the form, or in a layout.
void ReplaceWidget(QWidget& view, QSplitter& splitter) {
    QWidget* parent = view.parentWidget();
    if (auto* parentSplitter = qobject_cast<QSplitter*>(parent)) {
        parentSplitter->replaceWidget(parentSplitter->indexOf(&view), &splitter);
        return;
    }
    if (parent != nullptr && parent->layout() != nullptr) {
        delete parent->layout()->replaceWidget(&view, &splitter);
        return;
    }
}

// The box goes right after "TAG Blocks" in the view options, or at their end.
void AddToViewOptions(QWidget& options, QWidget& anchor, QCheckBox& box) {
    auto* layout = qobject_cast<QBoxLayout*>(options.layout());
    if (layout == nullptr) {
        box.setParent(&options);
        return;
    }
    const int at = layout->indexOf(&anchor);
    layout->insertWidget(at >= 0 ? at + 1 : layout->count(), &box);
}

} // namespace

void TMainForm::CreateDetailsPane() {
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitDetails"));
    splitter->setChildrenCollapsible(false);
    splitter->setSizePolicy(ui->NmeaView->sizePolicy()); // it takes the extra space as the view did
    ReplaceWidget(*ui->NmeaView, *splitter);
    splitter->addWidget(ui->NmeaView);
    auto* pane = new TDetailsPane;
    pane->setMinimumHeight(kPaneMinimumHeight);
    splitter->addWidget(pane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    Details = new TTrafficDetails(*ui->NmeaView, *pane, [this](bool hold) { TrafficView->SetHeld(hold); });
    Details->SetPaneVisible(false); // hidden until asked for

    auto* box = new QCheckBox(QStringLiteral("Details"));
    box->setObjectName(QStringLiteral("chbDetails"));
    box->setToolTip(QStringLiteral("Explain the line under the mouse or the selected line"));
    AddToViewOptions(*ui->gbViewOptions, *ui->chbTAGShow, *box);
    connect(box, &QCheckBox::toggled, this,
            GuardedSlot1<bool>([this](bool on) { Details->SetPaneVisible(on); }));
}

} // namespace kvl
