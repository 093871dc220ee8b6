#include "slideshow/core/CropFrameGeometry.h"

#include <cmath>

namespace {

QRectF grown(const QRectF& rect, double by)
{
    return rect.adjusted(-by, -by, by, by);
}

}  // namespace

void CropFrameGeometry::setPictureRect(const QRectF& picture)
{
    setLimitedRect(grown(picture, HandleMargin));
}

void CropFrameGeometry::setDisplayRect(const QRectF& crop)
{
    if (crop.height() > 0.0) {
        m_cropRatio = crop.width() / crop.height();
    }
    setFrame(grown(crop, HandleMargin));
}

QRectF CropFrameGeometry::getDisplayRect() const
{
    return grown(frame(), -HandleMargin);
}

QPointF CropFrameGeometry::localPoint(const QPointF& point) const
{
    return point - frame().topLeft();
}

void CropFrameGeometry::mouseDown(const QPointF& point)
{
    m_isDragging = true;
    m_lastPoint = point;
    m_lastFrame = frame();
    m_offsetToBoundary = {};

    const QPointF p = localPoint(point);
    const double x = p.x();
    const double y = p.y();
    const double w = frame().width();
    const double h = frame().height();
    if (x >= HitZone && x <= w - HitZone && y >= HitZone && y <= h - HitZone) {
        m_dragType = Move;
        LimitedDragging::mouseDown(point);
        return;
    }
    m_dragType = Resize;
    const bool nearX = x < HitZone || x > w - HitZone;
    const bool nearY = y < HitZone || y > h - HitZone;
    if (nearX && nearY) {
        m_resizeType = Corner;
        m_offsetToBoundary = {x < HitZone ? -x : w - x, y < HitZone ? -y : h - y};
    } else if (nearX) {
        m_resizeType = LeftOrRight;
        m_offsetToBoundary = {x < HitZone ? -x : w - x, 0.0};
    } else {
        m_resizeType = BottomOrTop;
        m_offsetToBoundary = {0.0, y < HitZone ? -y : h - y};
    }
    if (x <= w / 2 && y <= h / 2) {
        m_stationary = TopRight;
    } else if (x <= w / 2 && y >= h / 2) {
        m_stationary = BottomRight;
    } else if (x >= w / 2 && y >= h / 2) {
        m_stationary = BottomLeft;
    } else {
        m_stationary = TopLeft;
    }
}

bool CropFrameGeometry::mouseDragged(const QPointF& point)
{
    if (!m_isDragging) {
        return false;
    }
    QPointF d = point - m_lastPoint;
    if (m_dragType == Move) {
        LimitedDragging::mouseDragged(point);
        return true;
    }
    if (m_resizeType == BottomOrTop) {
        d.setX(0.0);
    } else if (m_resizeType == LeftOrRight) {
        d.setY(0.0);
    }
    const bool rightGrabbed = m_stationary == BottomLeft || m_stationary == TopLeft;
    const bool topGrabbed = m_stationary == BottomLeft || m_stationary == BottomRight;
    resizeViewWithOffset({rightGrabbed ? d.x() : -d.x(), topGrabbed ? d.y() : -d.y()});
    if (m_customized && frame().height() - 2 * HandleMargin > 0.0) {
        m_cropRatio = (frame().width() - 2 * HandleMargin) / (frame().height() - 2 * HandleMargin);
    }
    return true;
}

void CropFrameGeometry::mouseUp()
{
    m_isDragging = false;
    m_lastPoint = {};
    m_lastFrame = frame();
    if (m_dragType == Move) {
        LimitedDragging::mouseUp();
    }
}

QPointF CropFrameGeometry::getRatioOffsetWhenXRight(const QPointF& p) const
{
    const double q = p.x() * p.y() > 0.0 ? p.x() : -p.x();
    return {p.x(), q / m_cropRatio};
}

QPointF CropFrameGeometry::getRatioOffsetWhenYRight(const QPointF& p) const
{
    const double q = p.x() * p.y() > 0.0 ? p.y() : -p.y();
    return {q * m_cropRatio, p.y()};
}

void CropFrameGeometry::xRule(QPointF& o, double& height, const QRectF& from) const
{
    o = getRatioOffsetWhenXRight(o);
    height = from.height() + o.y();
}

void CropFrameGeometry::yRule(QPointF& o, double& width, const QRectF& from) const
{
    o = getRatioOffsetWhenYRight(o);
    width = from.width() + o.x();
}

void CropFrameGeometry::resizeViewWithOffset(QPointF o)
{
    const QRectF f = m_lastFrame;
    const QRectF l = rctLimitedRect();
    const bool fixed = !m_customized;
    if (fixed) {
        o.setY(o.x() / m_cropRatio);
    }
    double w = f.width() + o.x();
    double h = f.height() + o.y();
    if (w < MinimumFrame) {
        o.rx() += MinimumFrame - w;
        w = MinimumFrame;
        if (fixed) {
            xRule(o, h, f);
        }
    }
    if (h < MinimumFrame) {
        o.ry() += MinimumFrame - h;
        h = MinimumFrame;
        if (fixed) {
            yRule(o, w, f);
        }
    }
    const double right = l.x() + l.width();
    const double top = l.y() + l.height();
    double x = f.x();
    double y = f.y();
    switch (m_stationary) {
        case BottomLeft:
            if (x + w > right) {
                w = right - x;
                o.setX(w - f.width());
                if (fixed) {
                    xRule(o, h, f);
                }
            }
            if (y + h > top) {
                h = top - y;
                o.setY(h - f.height());
                if (fixed) {
                    yRule(o, w, f);
                }
            }
            break;
        case TopLeft:
            y = f.y() - o.y();
            if (x + w > right) {
                w = right - x;
                o.setX(w - f.width());
                if (fixed) {
                    xRule(o, h, f);
                    y = f.y() - o.y();
                }
            }
            if (y < l.y()) {
                h -= l.y() - y;
                o.setY(h - f.height());
                if (fixed) {
                    yRule(o, w, f);
                }
                y = l.y();
            }
            break;
        case TopRight:
            x = f.x() - o.x();
            y = f.y() - o.y();
            if (x < l.x()) {
                w -= l.x() - x;
                o.setX(w - f.width());
                if (fixed) {
                    xRule(o, h, f);
                    y = f.y() - o.y();
                }
                x = l.x();
            }
            if (y < l.y()) {
                h -= l.y() - y;
                o.setY(h - f.height());
                if (fixed) {
                    yRule(o, w, f);
                    x = f.x() - o.x();
                }
                y = l.y();
            }
            break;
        case BottomRight:
        default:
            x = f.x() - o.x();
            if (x < l.x()) {
                w -= l.x() - x;
                o.setX(w - f.width());
                if (fixed) {
                    xRule(o, h, f);
                }
                x = l.x();
            }
            if (y + h > top) {
                h = top - y;
                o.setY(h - f.height());
                if (fixed) {
                    yRule(o, w, f);
                    x = f.x() - o.x();
                }
            }
            break;
    }
    setFrame({x, y, w, h});
}

void CropFrameGeometry::transformViewWithOffset(const QPointF& offset)
{
    QRectF wanted = frame();
    wanted.translate(offset);
    inspectNewFrame(wanted);
}

bool CropFrameGeometry::displayWithNewCropFrameRatioType(int type)
{
    switch (type) {
        case Ratio1_1:
            m_cropRatio = 1.0;
            break;
        case Ratio4_3:
            m_cropRatio = 4.0 / 3.0;
            break;
        case Ratio16_9:
            m_cropRatio = 16.0 / 9.0;
            break;
        case Ratio2_1:
            m_cropRatio = 2.0;
            break;
        case Customize:
            break;
        default:
            return false;
    }
    resizeSelfWithNewRatio();
    return true;
}

void CropFrameGeometry::resizeSelfWithNewRatio()
{
    if (!(m_cropRatio > 0.0) || !std::isfinite(m_cropRatio)) {
        return;
    }
    const QRectF p = grown(rctLimitedRect(), -HandleMargin);
    const QRectF crop = getDisplayRect();
    const QPointF c = crop.center();
    const QPointF pc = p.center();
    const double maxW = pc.x() > c.x() ? 2 * (c.x() - p.x()) : 2 * (p.x() + p.width() - c.x());
    const double maxH = pc.y() > c.y() ? 2 * (c.y() - p.y()) : 2 * (p.y() + p.height() - c.y());
    double w = 0.0;
    double h = 0.0;
    if (crop.width() > crop.height()) {
        w = crop.width();
        h = w / m_cropRatio;
    } else {
        h = crop.height();
        w = h * m_cropRatio;
    }
    if (w > maxW) {
        w = maxW;
        h = w / m_cropRatio;
    }
    if (h > maxH) {
        h = maxH;
        w = h * m_cropRatio;
    }
    const QSizeF size(w + 2 * HandleMargin, h + 2 * HandleMargin);
    const QRectF wanted(c.x() - size.width() / 2, c.y() - size.height() / 2, size.width(),
                        size.height());
    setFrame(wanted);
    inspectNewFrame(wanted);
}

void CropFrameGeometry::clearRotationRelatedSettings()
{
    m_dragType = Move;
    m_resizeType = Corner;
    m_stationary = BottomLeft;
    m_cropRatio = 1.0;
    m_customized = true;
    m_isDragging = false;
    m_lastPoint = {};
    m_lastFrame = {};
    m_offsetToBoundary = {};
}

CropFrameGeometry::CursorZone CropFrameGeometry::cursorZoneAt(const QPointF& p) const
{
    const double w = frame().width();
    const double h = frame().height();
    if (p.x() < 0 || p.y() < 0 || p.x() > w || p.y() > h) {
        return Outside;
    }
    const bool left = p.x() < HitZone;
    const bool right = p.x() > w - HitZone;
    const bool bottom = p.y() < HitZone;
    const bool top = p.y() > h - HitZone;
    if (left && bottom) {
        return BottomLeftCorner;
    }
    if (right && top) {
        return TopRightCorner;
    }
    if (left && top) {
        return TopLeftCorner;
    }
    if (right && bottom) {
        return BottomRightCorner;
    }
    if (left) {
        return LeftEdge;
    }
    if (right) {
        return RightEdge;
    }
    if (bottom) {
        return BottomEdge;
    }
    if (top) {
        return TopEdge;
    }
    return Inside;
}
