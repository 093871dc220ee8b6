#pragma once
// The small controls the text style panel and its shadow controls build
// alike: a horizontal slider, a short number field, reading the number a
// field starts with, and moving a slider without its signals. Main thread.

#include <optional>

class QLineEdit;
class QSlider;
class QWidget;

class PanelControls {
public:
    PanelControls() = delete;

    // A horizontal slider over [minimum, maximum], at least 120 wide.
    static QSlider* makeSlider(int minimum, int maximum, QWidget* parent);
    // A right-aligned field 56 wide.
    static QLineEdit* makeField(QWidget* parent);
    // The number at the start of a field's text ("45°" gives 45); none when
    // the text does not start with one.
    static std::optional<double> numberInField(const QLineEdit& field);
    // Moves the slider to `value` (rounded) with its signals blocked.
    static void setSliderQuietly(QSlider* slider, double value);
};
