#pragma once
// One transition description: what the renderer draws (its kind) and the
// parameters of that kind. A description file is an XML property list with
// "Kind" (a main kind such as "cube" or "crossfade", or "standardIndexes" for
// an index composition), "TransitionTime" (composition seconds) and optional
// kind parameters ("Direction", "Easing", "Slats", "LookAhead", ...).
//
// The pace of the photos is not part of the file: the registry gives it from
// the transition's own property list (setTiming), so it lives in one place.

#include <QString>
#include <memory>

#include "media/TransitionTiming.h"
#include "platform/Value.h"

class Composition {
public:
    static const QString IndexKind;  // "standardIndexes"

    // The composition in the file, or null (logged) when it cannot be read or
    // names no kind this renderer knows.
    static std::shared_ptr<Composition> compositionWithFile(const QString& path);
    // A composition from an already read description; null when the kind is unknown.
    static std::shared_ptr<Composition> compositionWithDescription(
        const Value::Dictionary& description);

    QString kind() const { return m_kind; }
    bool isIndexComposition() const { return m_kind == IndexKind; }

    double doubleParameter(const QString& key, double fallback) const;
    QString stringParameter(const QString& key, const QString& fallback) const;

    const TransitionTiming& timing() const { return m_timing; }
    // Takes the pace of the photos; TransitionTime stays the file's own.
    void setTiming(double normalDuration, double firstRatio, double lastRatio);
    // An index composition follows the changes of its main composition.
    void setTransitionTime(double seconds);

private:
    QString m_kind;
    Value::Dictionary m_parameters;
    TransitionTiming m_timing;
};
