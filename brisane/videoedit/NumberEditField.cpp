#include "videoedit/NumberEditField.h"

#include <QLineEdit>

QLineEdit* NumberEditField::make(QWidget* parent, const std::function<void(double)>& typed)
{
    auto* field = new QLineEdit(parent);
    field->setFixedWidth(64);
    field->setAlignment(Qt::AlignRight);
    QObject::connect(field, &QLineEdit::editingFinished, field, [field, typed] {
        if (!field->isModified()) {
            return;
        }
        field->setModified(false);
        typed(field->text().trimmed().toDouble());
    });
    return field;
}
