#pragma once
// A check box whose caption wraps inside its rectangle, for the long option
// captions that the window's design gives two lines.

#include <QCheckBox>

namespace korv {

class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit WrapCheckBox(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    // The height the wrapped caption needs at `width`.
    int heightForWidth(int width) const override;

private:
    QRect textRect() const;
    int textFlags() const;
};

} // namespace korv
