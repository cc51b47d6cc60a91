#include "widgets/LedIndicator.h"

#include <QPainter>

namespace kvl {

TLedIndicator::TLedIndicator(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TLedIndicator::SetLit(bool lit) {
    if (lit == Lit)
        return;
    Lit = lit;
    update();
}

void TLedIndicator::SetOnColor(const QColor& color) {
    LitColor = color;
    update();
}

QColor TLedIndicator::CurrentColor() const {
    return Lit ? LitColor : palette().color(QPalette::Button);
}

void TLedIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect lamp = rect().adjusted(1, 1, -2, -2);
    painter.fillRect(lamp, CurrentColor());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(lamp);
    // A highlight in the upper left corner makes it read as a lamp, lit or not.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(lamp.topLeft() + QPoint(1, 1), lamp.topRight() + QPoint(-1, 1));
    painter.drawLine(lamp.topLeft() + QPoint(1, 1), lamp.bottomLeft() + QPoint(1, -1));
}

} // namespace kvl
