#pragma once
// Stands in for the slideshow music window until it is built: opening it
// shows nothing and logs one line; the music comes back as it was loaded.

#include "slideshow/IAudioLineCtrl.h"

class PendingAudioLineCtrl : public IAudioLineCtrl {
public:
    void setWndSheetedWindow(QWidget*) override {}
    void loadViewWithItems(const Items& items) override { m_items = items; }
    void openEditWindow() override;
    Items getAudioItems() const override { return m_items; }

private:
    Items m_items;
};
