#pragma once
// A colour well: a small button showing its colour that opens the colour
// chooser (with an alpha channel) when pressed. Choosing a colour sets it and
// emits colorChanged; setColor from code emits nothing, so a refresh can fill
// the well without writing anything back. Main thread.

#include <QColor>
#include <QToolButton>

class ColorWell : public QToolButton {
    Q_OBJECT
public:
    explicit ColorWell(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& colour);
    // Sets the colour as a choice of the user would: emits colorChanged.
    void chooseColor(const QColor& colour);

signals:
    void colorChanged(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openChooser();

    QColor color_ = Qt::white;
};
