#pragma once
// The view operations of the common functions, apart from the widget-free
// rest in CommonFunction.

class QWidget;

class CommonFunctionViews {
public:
    CommonFunctionViews() = delete;

    // Sizes `view` to the bounds of `superview` (to a zero rectangle when there
    // is none) and makes it a child of `superview`. A view hidden on purpose
    // stays hidden.
    static void setFullSubview(QWidget* view, QWidget* superview);
};
