// A small square lamp: lit in its "on" colour, dark in the button-face colour.
#pragma once

#include <QColor>
#include <QWidget>

namespace kvl {

class TLedIndicator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ IsLit WRITE SetLit)
    Q_PROPERTY(QColor onColor READ OnColor WRITE SetOnColor)
public:
    explicit TLedIndicator(QWidget* parent = nullptr);

    bool IsLit() const { return Lit; }
    void SetLit(bool lit);
    QColor OnColor() const { return LitColor; }
    void SetOnColor(const QColor& color);
    // The colour the lamp shows now.
    QColor CurrentColor() const;

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Lit = false;
    QColor LitColor = Qt::red;
};

} // namespace kvl
