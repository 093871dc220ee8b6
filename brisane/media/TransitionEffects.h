#pragma once
// The drawing of each transition kind. Every kind paints the change from the
// picture `from` to the picture `to` at `progress` (0 = only `from`, 1 = only
// `to`) over the whole frame. Both pictures already have the frame's size.
// Drawing is deterministic: the same arguments give the same pixels.
//
// Kinds and their parameters (read from the composition):
//   cube       a 3-D cube turning to show its next face ("Direction" left/right)
//   crossfade  the new picture fades in over the old one
//   fadeblack  the old picture fades to black, then the new one from black
//   push       the new picture pushes the old one out ("Direction")
//   slide      the new picture slides over the old one ("Direction")
//   wipe       a soft edge moves over the frame ("Direction", "Softness" 0..1)
//   flip       a card turns over about its vertical axis
//   iris       a circle opens from the centre
//   blinds     vertical slats open ("Slats", default 8)
//   zoom       the old picture grows and fades away over the new one
// "Easing" is "smooth" (the default) or "linear".

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

class Composition;

namespace TransitionEffects {

bool knowsKind(const QString& kind);
QStringList kinds();

void paint(QPainter& painter, const QSize& frame, const QImage& from, const QImage& to,
           double progress, const Composition& composition);

}  // namespace TransitionEffects
