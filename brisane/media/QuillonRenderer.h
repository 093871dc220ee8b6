#pragma once
// Renders one composition off screen at a fixed pixel size, without a window
// and on any thread (one thread at a time per renderer).
//
// Published inputs are set by key and read by the composition when it renders:
// a main composition reads "Images" (an array of dictionaries holding each
// photo position's picture under "Image"; absent while not loaded), "Time"
// (its own time in seconds) and "BackgroundImage" (drawn where a position has
// no picture; black when unset). An index composition reads "Count" and
// "Time" and publishes "Indexs": a dictionary whose values are the positions
// on screen from that time to its look-ahead.
//
// renderAtTime's time argument is ignored: the composition's time is its
// "Time" input. snapshotImage answers the last rendered frame.

#include <QHash>
#include <QImage>
#include <QMap>
#include <QSize>
#include <QString>
#include <atomic>
#include <memory>

#include "media/TransitionTiming.h"
#include "platform/Value.h"

class Composition;

class QuillonRenderer {
public:
    virtual ~QuillonRenderer();

    // A renderer of `size` pixels, or null when a side is zero (logs
    // "Invilidate Size") or there is no composition.
    static std::shared_ptr<QuillonRenderer> initOffScreenWithSize(
        const QSizeF& size, std::shared_ptr<Composition> composition);

    // The picture through the luminance sharpening at dSharpeness; a null
    // picture logs "sharpenImageOn::Image is nil" and answers a null image.
    QImage sharpenImageOn(const QImage& image) const;

    void setValueForInputKey(const Value& value, const QString& key);
    Value valueForInputKey(const QString& key) const;
    Value valueForOutputKey(const QString& key) const;
    bool renderAtTime(double time, const Value::Dictionary& arguments = {});
    // The rendered frame (black before the first render).
    QImage snapshotImage() const;

    double dSharpeness() const { return m_sharpness.load(); }
    void setDSharpeness(double sharpness) { m_sharpness.store(sharpness); }

    QSize pixelSize() const { return m_size; }
    const Composition& composition() const { return *m_composition; }
    // The pace the composition runs at: its own until a slideshow sets its own.
    const TransitionTiming& timing() const { return m_timing; }
    void setTiming(const TransitionTiming& timing) { m_timing = timing; }

protected:
    QuillonRenderer(const QSize& size, std::shared_ptr<Composition> composition);

    // Makes a renderer of a subclass after the shared checks.
    template <typename R>
    static std::shared_ptr<R> create(const QSizeF& size, std::shared_ptr<Composition> composition)
    {
        if (!validSize(size, composition.get())) {
            return nullptr;
        }
        return std::shared_ptr<R>(new R(pixelSizeOf(size), std::move(composition)));
    }

private:
    static bool validSize(const QSizeF& size, const Composition* composition);
    static QSize pixelSizeOf(const QSizeF& size);
    void renderMain();
    void renderIndexes();
    QImage positionPicture(const Value::Array& images, int position) const;
    QImage coverFrame(const QImage& picture) const;

    QSize m_size;
    std::shared_ptr<Composition> m_composition;
    TransitionTiming m_timing;
    std::atomic<double> m_sharpness{0.4};
    QMap<QString, Value> m_inputs;
    QMap<QString, Value> m_outputs;
    QImage m_frame;
    mutable QHash<qint64, QImage> m_coverCache;  // keyed by QImage::cacheKey
};
