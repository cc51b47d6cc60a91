#include "tables/GroupHeader.h"

#include <QPainter>

namespace kvl {

namespace {
const QColor kCaptionGrey(128, 128, 128);
}

TGroupHeader::TGroupHeader(std::vector<TGroup> groups, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), Groups(std::move(groups)) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
    setFixedHeight(kHeight);
}

QSize TGroupHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(kHeight);
    return size;
}

QString TGroupHeader::GroupCaption(int col) const {
    for (const TGroup& group : Groups) {
        if (col >= group.First && col <= group.Last)
            return group.Caption;
    }
    return {};
}

void TGroupHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette().button());
    const QVariant colour = model()->headerData(logicalIndex, Qt::Horizontal, Qt::ForegroundRole);
    const QColor textColour = colour.canConvert<QBrush>() ? colour.value<QBrush>().color() : kCaptionGrey;
    if (logicalIndex > 0) {
        const QRect own(rect.left(), rect.top() + kGroupHeight, rect.width(), rect.height() - kGroupHeight);
        painter->setPen(kCaptionGrey);
        painter->drawRect(own.adjusted(0, 0, -1, -1));
        painter->setPen(textColour);
        painter->drawText(own, Qt::AlignCenter, model()->headerData(logicalIndex, Qt::Horizontal).toString());
    }
    for (const TGroup& group : Groups) {
        if (logicalIndex < group.First || logicalIndex > group.Last)
            continue;
        const int left = sectionViewportPosition(group.First);
        const int right = sectionViewportPosition(group.Last) + sectionSize(group.Last);
        const QRect span(left, rect.top(), right - left, kGroupHeight);
        painter->setPen(kCaptionGrey);
        painter->drawText(span.adjusted(0, 1, 0, 0), Qt::AlignHCenter | Qt::AlignTop, group.Caption);
        painter->drawLine(span.bottomLeft(), span.bottomRight());
    }
    painter->restore();
}

} // namespace kvl
