#include "dialogs/PanelControls.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

QSlider* PanelControls::makeSlider(int minimum, int maximum, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setMinimumWidth(120);
    return slider;
}

QLineEdit* PanelControls::makeField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setFixedWidth(56);
    field->setAlignment(Qt::AlignRight);
    return field;
}

std::optional<double> PanelControls::numberInField(const QLineEdit& field)
{
    QString text = field.text().trimmed();
    while (!text.isEmpty() && !text.back().isDigit()) {
        text.chop(1);
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void PanelControls::setSliderQuietly(QSlider* slider, double value)
{
    const QSignalBlocker blocker(slider);
    slider->setValue(static_cast<int>(std::lround(value)));
}
