#pragma once
// The transition registry: one shared instance, made on first use from the
// transition folder and kept for the life of the process; read-only after.
//
// A transition's information is the whole dictionary of its property list
// ("QuartzName", "QuartzIndex", "ThumbnailName", "NormalDuration",
// "MaxDuration", "FirstRatio", "LastRatio", "BestDuration", "BestCount").
// To make a renderer, callers add "RenderingWidth" and "RenderingHeight"
// (pixels) to a copy of it.

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

#include "media/QuartzController.h"
#include "media/QuillonRenderer.h"
#include "media/SlideshowRenderer.h"
#include "media/TransitionTiming.h"
#include "platform/Value.h"

class RenderController {
public:
    static const QString DefaultQuartzName;  // "Cube New.qtz"

    // The folder the shared registry loads: by default the bundle
    // "Slideshows.plugin" beside the executable. Takes effect only before
    // the first sharedRenderController().
    static void setTransitionFolderPath(const QString& folder);
    static QString transitionFolderPath();

    static RenderController& sharedRenderController();
    // Information of "Cube New.qtz", empty when it is not installed.
    static std::optional<Value::Dictionary> defaultInformation();
    // Information of a transition picked at random, empty when there are none.
    static std::optional<Value::Dictionary> randomInformation();

    // A registry over one folder (the shared one uses the folder above).
    explicit RenderController(const QString& folder);

    const QuartzController& oSlideshowQuartzController() const { return m_quartz; }
    int quartzsCount() const;
    // A copy of the transition's information; empty past the end.
    Value::Dictionary informationAtIndex(qsizetype index) const;
    // The first transition of that name; empty when none.
    std::optional<Value::Dictionary> informationOfName(const QString& name) const;
    QImage thumbnailWithInformation(const Value::Dictionary& information) const;
    std::shared_ptr<QuartzItem> quartzItemWithInformation(
        const Value::Dictionary& information) const;

    // Renderers at ("RenderingWidth", "RenderingHeight"); null when the
    // transition is unknown, lacks that composition or the size is zero.
    std::shared_ptr<QuillonRenderer> renderWithInformation(
        const Value::Dictionary& information) const;
    std::shared_ptr<SlideshowRenderer> slideshowRendererWithInformation(
        const Value::Dictionary& information) const;
    std::shared_ptr<QuillonRenderer> indexsRenderWithInformation(
        const Value::Dictionary& information) const;

    // The positions a transition without an index composition shows from
    // composition time `time` on: worked out from its main composition's
    // pacing, or from `pace` when given, as an index composition would
    // ("Indexs" form); empty when the transition is unknown or there are no
    // positions.
    Value::Dictionary defaultIndexsWithInformation(
        const Value::Dictionary& information, int count, double time,
        const std::optional<TransitionTiming>& pace = std::nullopt) const;

private:
    static QSizeF renderingSize(const Value::Dictionary& information);

    QuartzController m_quartz;
};
