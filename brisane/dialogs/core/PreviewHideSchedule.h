#pragma once
// When the highlight preview shows the border and fill after a value
// changes: from the change until 2 seconds after the first change of a
// burst. Later changes within those 2 seconds do not push the hide back; a
// change after the hide starts a new burst. Times are milliseconds of any
// monotonic clock. Plain value type.

#include <QtGlobal>

class PreviewHideSchedule {
public:
    static constexpr qint64 kShowMs = 2000;

    // A value changed at `now`. Answers whether a new hide was scheduled (the
    // caller then starts its one timer for kShowMs).
    bool valueChanged(qint64 now);
    // The scheduled hide has come.
    void hide() { m_changing = false; }
    bool isChangingValue() const { return m_changing; }
    // Whether the preview still shows the change at `now`, for a caller that
    // fires hide() on time.
    bool shownAt(qint64 now) const { return m_changing && now < m_hideAt; }

private:
    bool m_changing = false;
    qint64 m_hideAt = 0;
};
