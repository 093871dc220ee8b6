#pragma once
// What a transition tile asks of and tells its owner (the transition
// chooser). Main thread.

class QuartzPreviewView;

class QuartzPreviewViewDelegate {
public:
    virtual ~QuartzPreviewViewDelegate() = default;

    // The mouse came onto or left the tile's picture.
    virtual void didEnterQuartzPreview(QuartzPreviewView* view) = 0;
    virtual void didExitQuartzPreview(QuartzPreviewView* view) = 0;
    // A click on the tile.
    virtual void didChooseQuartzPreview(QuartzPreviewView* view) = 0;
    // While previewing, 30 times a second: give the tile its frame at `time`
    // (seconds of the transition).
    virtual void makeQuartzRendererImageOf(QuartzPreviewView* view, double time) = 0;
};
