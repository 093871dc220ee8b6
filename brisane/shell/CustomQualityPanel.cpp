#include "shell/CustomQualityPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

CustomQualityPanel::CustomQualityPanel(qint64 minimum, qint64 maximum, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Custom Size"));
    setWindowModality(Qt::WindowModal);

    m_field = new QSpinBox(this);
    m_field->setRange(0, 999999);
    m_field->setSuffix(QStringLiteral(" kbps"));
    m_field->setKeyboardTracking(false);  // one value when the typing ends
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(int(minimum), int(maximum));
    m_slider->setMinimumWidth(240);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Video Bitrate:"), this));
    row->addWidget(m_field);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_slider);
    layout->addLayout(buttons);

    connect(m_field, &QSpinBox::valueChanged, this, [this](int value) { emit fieldEdited(value); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) { emit sliderMoved(value); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CustomQualityPanel::showQualityValue(qint64 value)
{
    const QSignalBlocker fieldBlocker(m_field);
    const QSignalBlocker sliderBlocker(m_slider);
    m_field->setValue(int(value));
    m_slider->setValue(int(value));
}

void CustomQualityPanel::done(int result)
{
    if (isVisible()) {
        emit willClose();
    }
    QDialog::done(result);
}
