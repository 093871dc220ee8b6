#include "listedit/InsertLineView.h"

#include <QPainter>
#include <cmath>

#include "listedit/ListTableView.h"

InsertLineView::InsertLineView(QWidget* parent, const ListTableView* list)
    : QWidget(parent), m_list(list)
{
    setObjectName(QStringLiteral("InsertLineView"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(QRect());
    hide();
}

void InsertLineView::setLineFrame(const QRectF& frame)
{
    m_lineFrame = frame;
    if (frame.isEmpty()) {
        setGeometry(QRect());
        hide();
        return;
    }
    // A line 7.5 below a row covers the pixel row it starts in.
    const int x = static_cast<int>(std::floor(frame.x()));
    const int y = static_cast<int>(std::floor(frame.y()));
    const int width = std::max(1, static_cast<int>(std::lround(frame.width())));
    const int height = std::max(1, static_cast<int>(std::lround(frame.height())));
    setGeometry(x, y, width, height);
    show();
    raise();
    update();
}

quint64 InsertLineView::dragType() const
{
    const ListEditViewController* controller = m_list ? m_list->controller() : nullptr;
    return controller ? controller->selectedType() : 0;
}

void InsertLineView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPen pen(lineColor(), 1.0);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The stroke runs along the inside of the bounds.
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
