#include "videoedit/core/ChapterApplyPlan.h"

ChapterApplyPlan ChapterApplyPlan::planFor(Kind kind, qsizetype chapters, bool isSubMedia)
{
    ChapterApplyPlan plan;
    if (chapters < 2) {
        return plan;
    }
    if (kind == Kind::Video) {
        if (isSubMedia) {
            plan.placement = Placement::NearClip;
        } else {
            plan.reuseForFirstChapter = false;
            plan.dropOwnSectionFirst = true;
            plan.placement = Placement::IntoClip;
        }
    } else if (isSubMedia) {
        plan.reuseForFirstChapter = false;
        plan.placement = Placement::AfterMergedClip;
        plan.removeOpenedClip = true;
    } else {
        plan.placement = Placement::NearClip;
    }
    return plan;
}
