#pragma once
// The disc capacity bar of the bottom bar: a rounded dark track with the
// filled fraction drawn as a gradient from yellow (left) to red (right), and
// a text at its right end ("Need Spend DVD Space: ... MB"). A fraction
// above 1 (the project does not fit) fills the whole track; the rounded
// outline clips it.

#include <QBrush>
#include <QRectF>
#include <QString>
#include <QWidget>

class QPainter;

class CustomCapacityView : public QWidget {
    Q_OBJECT
public:
    explicit CustomCapacityView(QWidget* parent = nullptr);

    // The gradient's colours; the default one when none was set.
    QGradientStops gradient() const { return m_gradient; }
    void setGradient(const QGradientStops& stops);
    static QGradientStops defaultGradient();
    // The filled fraction (0 to 1, more when the project does not fit).
    float capacityValue() const { return m_capacityValue; }
    void setCapacityValue(float value);
    QString showString() const { return m_showString; }
    void setShowString(const QString& text);

    // The track: the bounds inset by 5 left and right, 4 top and bottom.
    static QRectF contentRect(const QRectF& bounds);
    // The rounded outline's rectangle (corner radius OutlineRadius).
    static QRectF outlineRect(const QRectF& content);
    // The part of the track the gradient may fill for a fraction (negative
    // and not-a-number count as 0).
    static QRectF filledRect(const QRectF& content, float value);
    static constexpr double OutlineRadius = 10.0;

    QSize sizeHint() const override { return {360, 30}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawShowString(QPainter& painter, const QRectF& content) const;

    QGradientStops m_gradient;
    float m_capacityValue = 0;
    QString m_showString;
};
