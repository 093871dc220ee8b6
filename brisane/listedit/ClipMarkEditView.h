#pragma once
// The chapter-edit button of a video clip's row: opens the chapter editor on
// the clip. Tooltip "Chapter edit", picture "clip_mark_btn".

#include "listedit/RowEditButtonView.h"

class ClipMarkEditView : public RowEditButtonView {
    Q_OBJECT
public:
    explicit ClipMarkEditView(MediaDataView* row);

protected:
    void act(const std::shared_ptr<MediaData>& media) override;
};
