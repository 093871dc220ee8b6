#include "videoedit/core/ClipMarkerRules.h"

#include <algorithm>

#include "model/MediaSectionItem.h"

namespace {

LMMediaTime timeOf(const ClipMarkerRules::Markers& markers, qsizetype index)
{
    return index >= 0 && index < markers.size() ? markers.at(index)->markTime() : 0;
}

}  // namespace

LMMediaTime ClipMarkerRules::oneSecond()
{
    return static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * 1.0);
}

LMMediaTime ClipMarkerRules::arrowStep()
{
    return static_cast<LMMediaTime>(static_cast<double>(lm_default_time_base()) * 0.05);
}

ClipMarkerRules::Markers ClipMarkerRules::markersFromSections(const Sections& sections)
{
    Markers markers{ClipMarker::markerAt(0)};
    for (const auto& section : sections) {
        if (section) {
            markers.append(ClipMarker::markerAt(section->endTimeInMedia()));
        }
    }
    // Sections need not be kept in time order; chapters must be.
    std::stable_sort(markers.begin(), markers.end(),
                     [](const auto& a, const auto& b) { return a->markTime() < b->markTime(); });
    return markers;
}

bool ClipMarkerRules::addMarkButtonEnable(const Markers& markers, LMMediaTime time)
{
    const LMMediaTime second = oneSecond();
    for (const auto& marker : markers) {
        const LMMediaTime t = marker->markTime();
        if (time > t - second && time < t + second) {
            return false;
        }
    }
    return !markers.isEmpty() && time < markers.last()->markTime();
}

qsizetype ClipMarkerRules::insertionIndex(const Markers& markers, LMMediaTime time)
{
    const auto at = std::upper_bound(
        markers.cbegin(), markers.cend(), time,
        [](LMMediaTime t, const ClipMarker::Ptr& marker) { return t < marker->markTime(); });
    return std::distance(markers.cbegin(), at);
}

LMMediaTime ClipMarkerRules::clampedMarkerTime(const Markers& markers, qsizetype index,
                                               LMMediaTime value)
{
    const LMMediaTime second = oneSecond();
    const LMMediaTime lower = timeOf(markers, index - 1) + second;
    const LMMediaTime upper = timeOf(markers, index + 1) - second;
    return std::min(std::max(value, lower), upper);
}

ClipMarkerRules::Markers ClipMarkerRules::chapterMarkers(const Markers& markers)
{
    return markers.size() > 2 ? markers.mid(1, markers.size() - 2) : Markers();
}

bool ClipMarkerRules::preMarkerEnable(const Markers& markers, const ClipMarker::Ptr& selected)
{
    return previousMarker(markers, selected) != nullptr;
}

bool ClipMarkerRules::nextMarkerEnable(const Markers& markers, const ClipMarker::Ptr& selected)
{
    return nextMarker(markers, selected) != nullptr;
}

ClipMarker::Ptr ClipMarkerRules::previousMarker(const Markers& markers,
                                                const ClipMarker::Ptr& selected)
{
    const Markers chapters = chapterMarkers(markers);
    const qsizetype i = selected ? chapters.indexOf(selected) : -1;
    return i >= 1 ? chapters.at(i - 1) : nullptr;
}

ClipMarker::Ptr ClipMarkerRules::nextMarker(const Markers& markers, const ClipMarker::Ptr& selected)
{
    const Markers chapters = chapterMarkers(markers);
    const qsizetype i = selected ? chapters.indexOf(selected) : -1;
    return i >= 0 && i + 1 < chapters.size() ? chapters.at(i + 1) : nullptr;
}

bool ClipMarkerRules::canApply(const Markers& markers)
{
    if (markers.size() < 2 || markers.first()->markTime() != 0) {
        return false;
    }
    for (qsizetype k = 0; k + 1 < markers.size(); ++k) {
        if (markers.at(k + 1)->markTime() - markers.at(k)->markTime() < oneSecond()) {
            return false;
        }
    }
    return true;
}

LMMediaTime ClipMarkerRules::steppedTime(LMMediaTime time, LMMediaTime duration, int direction)
{
    const LMMediaTime moved = direction < 0 ? time - arrowStep() : time + arrowStep();
    return std::clamp<LMMediaTime>(moved, 0, std::max<LMMediaTime>(duration, 0));
}
