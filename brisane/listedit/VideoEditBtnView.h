#pragma once
// The video-edit button of a clip's row: opens the video editor on a video
// clip; on a picture clip it runs the slideshow editor on the clip's
// slideshow and then takes the slideshow's new length into the list.
// Tooltip "Video edit", picture "video_edit_btn".

#include "listedit/RowEditButtonView.h"

class VideoEditBtnView : public RowEditButtonView {
    Q_OBJECT
public:
    explicit VideoEditBtnView(MediaDataView* row);

protected:
    void act(const std::shared_ptr<MediaData>& media) override;
};
