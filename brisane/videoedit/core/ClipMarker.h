#pragma once
// One chapter boundary of the chapter editor: a media time within the
// source file. The editor keeps its markers by identity (the selection is
// one of them). Plain value holder; not archived.

#include <memory>

#include "lumenta/LMMediaTime.h"

class ClipMarker {
public:
    using Ptr = std::shared_ptr<ClipMarker>;

    explicit ClipMarker(LMMediaTime time = 0) : m_markTime(time) {}

    static Ptr markerAt(LMMediaTime time) { return std::make_shared<ClipMarker>(time); }

    LMMediaTime markTime() const { return m_markTime; }
    void setMarkTime(LMMediaTime time) { m_markTime = time; }
    // markTime in seconds.
    double markDoubleTime() const { return lm_ff_time_to_double(m_markTime); }

private:
    LMMediaTime m_markTime = 0;
};
