#include "common/widgets/ControllerFunctionButtons.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>

#include "common/ControllerFunctionImages.h"

void ControllerFunctionButtons::setImageOnButton(QAbstractButton* button, const QString& imageName,
                                                 const QString& title, bool selected)
{
    if (!button) {
        return;
    }
    const QImage image =
        ControllerFunctionImages::buttonImage(button->size(), imageName, title, selected);
    QIcon icon = button->icon();
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal, QIcon::Off);
    button->setIcon(icon);
    button->setIconSize(button->size());
}

void ControllerFunctionButtons::setAlterImageOnButton(QAbstractButton* button,
                                                      const QString& imageName,
                                                      const QString& title)
{
    if (!button) {
        return;
    }
    const QImage image =
        ControllerFunctionImages::alterButtonImage(button->size(), imageName, title);
    QIcon icon = button->icon();
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal, QIcon::On);
    button->setIcon(icon);
    button->setIconSize(button->size());
}
