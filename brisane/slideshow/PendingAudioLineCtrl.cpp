#include "slideshow/PendingAudioLineCtrl.h"

#include <QtDebug>

void PendingAudioLineCtrl::openEditWindow()
{
    qInfo("Slideshow music window is not available yet; the music is unchanged");
}
