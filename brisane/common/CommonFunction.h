#pragma once
// Stateless helpers every window, view and model class uses: rectangle
// arithmetic (fitting a picture into a frame, rectangles from a centre or two
// corners, scaling between canvas and view coordinates), angles and the
// perspective of a 3-D transform, time strings, a SHA-256 digest of a string,
// and the running system's version.
//
// Points, sizes and rectangles are double precision; scale factors, lengths
// and angles (radians) are single precision. The fitting operations round
// their ratios to single precision before using them, so a fitted rectangle
// may differ from its box in the last bits. All functions are safe to call
// from any thread except setFullSubview, which touches widgets.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtGlobal>

#include "common/Transform3D.h"

class CommonFunction {
public:
    CommonFunction() = delete;

    // --- Rectangles and points ---

    // The rectangle of the given size centred on `center`.
    static QRectF rectForCenter(const QPointF& center, const QSizeF& size);
    // The rectangle spanned by two opposite corners, in whatever order.
    static QRectF rectForPoint(const QPointF& p, const QPointF& q);
    static QPointF centerForRect(const QRectF& rect);

    // Aspect fit of `rect` into `box`, centred; a smaller rectangle is
    // enlarged too, at most 100 times. An empty rectangle, or one fitted into
    // an empty box, gives a zero size at the box's centre.
    static QRectF scaleRectIn(const QRectF& rect, const QRectF& box);
    // Aspect fill: covers `box`, overflowing it equally on both sides.
    static QRectF scaleRectFull(const QRectF& rect, const QRectF& box);
    // Enlarges `rect` until it covers `box` in one direction; a rectangle that
    // is empty or already large enough comes back unchanged. When enlarged,
    // its origin moves by the offset from its centre to the box's centre.
    static QRectF scaleRectContain(const QRectF& rect, const QRectF& box);
    // scaleRectContain with the box {centre x, centre y, length, length}.
    static QRectF scaleRectMinLength(const QRectF& rect, float length);

    static float convertLength(float length, float scale);
    static QSizeF convertSize(const QSizeF& size, float scale);
    static QPointF convertPoint(const QPointF& point, float scale);
    static QRectF convertRect(const QRectF& rect, float scale);

    // The smallest / largest of four values; a NaN argument is ignored.
    static float minOfOne(float one, float two, float three, float four);
    static float maxOfOne(float one, float two, float three, float four);

    // --- Angles and perspective (radians, single precision) ---

    // The angle of the point seen from the origin, in [0, 2π); 0 for the origin.
    static float angleForPoint(const QPointF& point);
    static QPointF pointForLength(float length, float angle);
    // The length of the projection of fixed→drag onto the direction
    // fixed→oldDrag.
    static float lengthForFixed(const QPointF& fixed, const QPointF& oldDrag, const QPointF& drag);
    // The point of the z = 0 plane projected through the transform.
    static QPointF convertPointFromTransform(const QPointF& point, const Transform3D& t);
    // The inverse: the z = 0 point whose projection is `point`. A degenerate
    // transform gives non-finite coordinates, never a crash.
    static QPointF convertPointToTransform(const QPointF& point, const Transform3D& t);
    // The full width / height, centred on the origin, whose projected length
    // through the transform is `length`.
    static float widthForLength(float length, const Transform3D& t);
    static float heightForLength(float length, const Transform3D& t);
    // The centred rectangle whose projection has the corners p and q.
    static QRectF rectForPoint(const QPointF& p, const QPointF& q, const Transform3D& t);

    // --- Time strings ---

    // "hh:mm:ss": negative seconds read as 0; hours take more digits past 99.
    static QString timeStrFromSecond(float seconds);
    // "mm:ss" with the total minutes; not clamped.
    static QString shortTimeStrFromSecond(float seconds);

    // --- Hash ---

    // SHA-256 of the string's UTF-8 bytes as 64 lowercase hexadecimal digits.
    // A null string hashes as empty input.
    static QString shaString(const QString& string);

    // --- System version and views ---

    // The running system's version (the kernel release, e.g. 6.1.0). Answers
    // false and writes nothing when it cannot be read; null pointers are
    // skipped.
    static bool getSystemVersionMajor(quint32* major, quint32* minor, quint32* bugFix);
    // Reads "major.minor.bugfix" from the start of a release text such as
    // "6.1.0-18-amd64"; false (nothing written) when a number is missing.
    static bool parseSystemVersion(const QString& release, quint32* major, quint32* minor,
                                   quint32* bugFix);
    // True exactly when the version reads as 10.6 (never on this platform).
    static bool OSIsSnowLeopard();
};
