#pragma once
// The crop rectangle that the user moves and resizes over a photo, with its
// handles and guide lines (CropFrameGeometry holds the rules). The view is the
// crop grown by a 6-point handle margin; rectangles exchanged with the owner
// are crop rectangles in the superview's coordinates, y up.
//
// Drawn, bottom to top: the dashed white guides (centre lines, switched on or
// drawn by themselves while the crop's centre lies within a point of the
// picture's; diagonals; thirds), the white border, a bracket handle on each
// side, L-shaped corner marks (yellow on the corner that stays in place
// while a resize is dragged, translucent green otherwise) and a red centre
// dot.
//
// It takes the keyboard focus when clicked; the arrow keys move it by one
// point. The owner is told after every drag step and key move, not on the
// release. Each zone shows its cursor. Main thread.

#include <QColor>
#include <QPointF>

#include "slideshow/LimitedDraggingView.h"
#include "slideshow/core/CropFrameGeometry.h"

class CropFrameViewDelegate;

class CropFrameView : public LimitedDraggingView {
    Q_OBJECT
public:
    static inline const QColor StationaryMarkColor{255, 255, 0};
    static inline const QColor MarkColor = QColor::fromRgbF(0, 1, 0, 0.6f);
    static constexpr double CentreDotRadius = 4.8;

    explicit CropFrameView(QWidget* parent = nullptr);

    CropFrameViewDelegate* delegate() const { return m_delegate; }
    // Not owned.
    void setDelegate(CropFrameViewDelegate* delegate) { m_delegate = delegate; }

    // The picture rectangle (the limit is it grown by the margin).
    void setLimitedRect(const QRectF& picture) override;
    void setDisplayRect(const QRectF& crop);
    QRectF getDisplayRect() const { return geometryRules().getDisplayRect(); }
    static QSizeF minSize() { return CropFrameGeometry::minSize(); }

    double cropRatio() const { return geometryRules().cropRatio(); }
    bool customized() const { return geometryRules().customized(); }
    void setCustomized(bool customized) { geometryRules().setCustomized(customized); }
    bool isDragging() const { return geometryRules().isDragging(); }
    int enumMouseDragType() const { return geometryRules().enumMouseDragType(); }
    int enumStationaryPointType() const { return geometryRules().enumStationaryPointType(); }

    bool canDrawCenterLines() const { return m_centerLines; }
    void setCanDrawCenterLines(bool can);
    bool canDrawDiagonals() const { return m_diagonals; }
    void setCanDrawDiagonals(bool can);
    bool canDrawTrisectionLines() const { return m_trisection; }
    void setCanDrawTrisectionLines(bool can);

    // Presets 0 1:1, 1 4:3, 2 16:9, 3 2:1, 4 the current ratio.
    void displayWithNewCropFrameRatioType(int type);
    void cropRatioFor1_1() { displayWithNewCropFrameRatioType(CropFrameGeometry::Ratio1_1); }
    void cropRatioFor4_3() { displayWithNewCropFrameRatioType(CropFrameGeometry::Ratio4_3); }
    void cropRatioFor16_9() { displayWithNewCropFrameRatioType(CropFrameGeometry::Ratio16_9); }
    void cropRatioFor2_1() { displayWithNewCropFrameRatioType(CropFrameGeometry::Ratio2_1); }
    void cropRatioForCustomize() { displayWithNewCropFrameRatioType(CropFrameGeometry::Customize); }
    void transformViewWithOffset(const QPointF& offset);
    void clearRotationRelatedSettings();

    // The cursor of a zone.
    static QCursor cursorOfZone(CropFrameGeometry::CursorZone zone);
    // The cursor the view shows at a point of its own (Qt's coordinates).
    QCursor cursorAt(const QPointF& local) const;

    const CropFrameGeometry& geometryRules() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CropFrameGeometry& geometryRules();
    void tellDelegate();

    void drawCenterLines(QPainter& painter, double w, double h) const;
    void drawDiagonals(QPainter& painter, double w, double h) const;
    void drawTrisectionLines(QPainter& painter, double w, double h) const;
    void drawDefaultFrame(QPainter& painter, double w, double h) const;

    CropFrameViewDelegate* m_delegate = nullptr;
    bool m_centerLines = false;
    bool m_diagonals = false;
    bool m_trisection = false;
};
