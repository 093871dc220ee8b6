#pragma once
// The custom bitrate panel: a number field and a slider showing the same
// value (kbit/s), and an OK button. However it closes (OK, its close box,
// Escape) it announces willClose first, and the main window applies the
// value shown: the panel has no way to throw a value away.

#include <QDialog>

class QPushButton;
class QSlider;
class QSpinBox;

class CustomQualityPanel : public QDialog {
    Q_OBJECT
public:
    // The slider's range; the field accepts any number and the main window
    // clamps it into this range.
    CustomQualityPanel(qint64 minimum, qint64 maximum, QWidget* parent = nullptr);

    // Shows the value in the field and the slider; sends no signal.
    void showQualityValue(qint64 value);

    QSpinBox* qualityField() const { return m_field; }
    QSlider* qualitySlider() const { return m_slider; }
    QPushButton* okButton() const { return m_ok; }

    void done(int result) override;

signals:
    // The field's value after its editing ended.
    void fieldEdited(qint64 value);
    // The slider's value while it moves.
    void sliderMoved(qint64 value);
    void willClose();

private:
    QSpinBox* m_field = nullptr;
    QSlider* m_slider = nullptr;
    QPushButton* m_ok = nullptr;
};
