#include "dialogs/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

ColorWell::ColorWell(QWidget* parent) : QToolButton(parent)
{
    setFixedSize(44, 24);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::clicked, this, &ColorWell::openChooser);
}

void ColorWell::setColor(const QColor& colour)
{
    color_ = colour;
    update();
}

void ColorWell::chooseColor(const QColor& colour)
{
    setColor(colour);
    emit colorChanged(color_);
}

void ColorWell::openChooser()
{
    const QColor chosen =
        QColorDialog::getColor(color_, this, QString(), QColorDialog::ShowAlphaChannel);
    if (chosen.isValid()) {
        chooseColor(chosen);
    }
}

void ColorWell::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    painter.fillRect(swatch, Qt::white);
    // A check pattern under the colour shows its transparency.
    painter.fillRect(swatch, QBrush(QColor(200, 200, 200), Qt::Dense5Pattern));
    painter.fillRect(swatch, color_);
    painter.setPen(isEnabled() ? QColor(60, 60, 60) : QColor(150, 150, 150));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
