#pragma once
// The edit-attribute snapshot of a clip or a page's music: the values of a
// media item's edits, by key, so that edits survive a project save although
// the media item itself is not archived (it is rebuilt from the file).
//
// Movie keys are read from and written to the item's movie; item keys to the
// VCMovie itself. A key whose value is null is left out of the snapshot.
// Applying writes every movie key the snapshot holds and leaves the others
// alone; an item key the snapshot lacks is cleared (0, empty), except the
// kept range ("trimStart", "trimStop"), which a snapshot without it never
// touches. An empty snapshot changes nothing.

#include <QStringList>

#include "media/VCMovie.h"
#include "platform/Value.h"

namespace MediaEditSnapshot {

// "hflip", "vflip", "rotate", "saturation", "brightness", "contrast", "hue",
// "effectName", "zoomType", "cropRectString", "outputVideoSizeString", and
// "volume" when `withVolume`.
QStringList movieAttributesKeys(bool withVolume);
// The item keys of VCMovie::snapshotKeys().
QStringList vcmovieAttributesKeys();

// The snapshot of the item; empty when the item has no movie.
std::optional<Value::Dictionary> take(const VCMovie& item, const QStringList& movieKeys);
// Applies the snapshot to the item, then rebuilds the item's watermark.
// Nothing happens when the item has no movie or the snapshot is empty.
void apply(const Value::Dictionary& snapshot, VCMovie& item, const QStringList& movieKeys);

}  // namespace MediaEditSnapshot
