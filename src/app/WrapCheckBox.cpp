#include "app/WrapCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace korv {

WrapCheckBox::WrapCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {}

QRect WrapCheckBox::textRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    return rect().adjusted(indicator.right() + 6, 0, 0, 0);
}

// Like every other button: "&&" shows as "&", a single "&" marks the mnemonic.
int WrapCheckBox::textFlags() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    return flags;
}

void WrapCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    indicator.moveTop(2);
    option.rect = indicator;
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect(), textFlags(), text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = p.boundingRect(textRect(), textFlags(), text());
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrapCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

int WrapCheckBox::heightForWidth(int width) const
{
    QRect text = textRect();
    text.setWidth(width - text.left());
    return fontMetrics().boundingRect(text, textFlags(), this->text()).height();
}

QSize WrapCheckBox::sizeHint() const
{
    return QCheckBox::sizeHint().boundedTo(QSize(width() > 0 ? width() : 400, 1000));
}

} // namespace korv
