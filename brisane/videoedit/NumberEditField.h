#pragma once
// The number fields of the video edit sheet's tabs: a narrow right-aligned
// line edit that hands its value on when editing ends, and only when the user
// changed the text (focus leaving an untouched field writes nothing). Main
// thread.

#include <functional>

class QLineEdit;
class QWidget;

class NumberEditField {
public:
    NumberEditField() = delete;

    static QLineEdit* make(QWidget* parent, const std::function<void(double)>& typed);
};
