#pragma once
// The chapter editor's picture: the player's frame before any edit, on a
// calibrated grey 0.12 background; otherwise the video edit sheet's display
// view (see VEMoviePlayerDisplayView).

#include "videoedit/VEMoviePlayerDisplayView.h"

class ClipEditMovieDisplayView : public VEMoviePlayerDisplayView {
    Q_OBJECT
public:
    explicit ClipEditMovieDisplayView(QWidget* parent = nullptr);
};
