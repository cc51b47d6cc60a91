// TGroupHeader: the two-line caption row of the routing and Modbus editors: a
// group caption across several columns in the upper half ("Inputs", "Outputs",
// "Modbus Slave" ...) and each column's own caption in its box below.
#pragma once

#include <QHeaderView>

#include <vector>

namespace kvl {

class TGroupHeader : public QHeaderView {
    Q_OBJECT
public:
    struct TGroup {
        int First;
        int Last;
        QString Caption;
    };
    static constexpr int kHeight = 32;
    static constexpr int kGroupHeight = 16;

    TGroupHeader(std::vector<TGroup> groups, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The group caption over a column, empty when none.
    QString GroupCaption(int col) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    std::vector<TGroup> Groups;
};

} // namespace kvl
