#pragma once
// The image buttons of the controller functions: the pictures drawn by
// ControllerFunctionImages set on a button.

#include <QString>

class QAbstractButton;

class ControllerFunctionButtons {
public:
    ControllerFunctionButtons() = delete;

    // Sets buttonImage of the button's size as its icon (the normal picture).
    static void setImageOnButton(QAbstractButton* button, const QString& imageName,
                                 const QString& title, bool selected);
    // Sets alterButtonImage as the picture of the button's checked state.
    static void setAlterImageOnButton(QAbstractButton* button, const QString& imageName,
                                      const QString& title);
};
