// One drawing pass of a frame transition: the picture the player shows at a
// fraction of the way from the old frame picture to the new one.
//
// Transition numbers: 0 and 1 cross-fade (the new picture blended over the old
// one with one alpha for the whole picture), 2 slide left (the new picture comes
// in from the left and pushes the old one out to the right), 3 slide right (the
// new one comes in from the right), 4 slide up (from the top), 5 slide down (from
// the bottom). Any other number has no animation.
#pragma once

#include <QImage>

namespace qm::media {

enum class TransitionKind { None, CrossFade, SlideLeft, SlideRight, SlideUp, SlideDown };

TransitionKind transitionKind(int number);

// The pixel format passes are drawn in: the usual format of a 24/32-bit screen,
// so showing a pass is a plain copy.
inline constexpr QImage::Format kTransitionFormat = QImage::Format_RGB32;

// Cross-fade alpha for a fraction 0..1: rounded to a whole number 0..255.
int crossFadeAlpha(double fraction);

// Where the new picture's top-left corner lies on a frame of `frame` size at
// `fraction` of the way (clamped to 0..1): (0, 0) for a cross-fade and for
// None; for the slides, the point from which the new picture comes in.
// Whatever rides on the new picture moves by this much.
QPoint newPictureOffset(TransitionKind kind, double fraction, QSize frame);

// Draws the pass for `fraction` (clamped to 0..1) into `target`, which must be
// in kTransitionFormat and as large as the frame. `start` and `end` are the old
// and new pictures (any format; a smaller picture leaves black where it has no
// pixels). Kind None draws the new picture.
void drawTransitionPass(QImage& target, const QImage& start, const QImage& end, TransitionKind kind,
                        double fraction);

}  // namespace qm::media
