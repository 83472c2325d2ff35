// Pictures of the marked card reader and of the marked card, drawn from the coordinates the
// windows use. tools/mkcardart writes the reader ("CR91B.dat") and the blank card
// ("HP9pgcd.dat") into the program folder; the reader window draws its moving card, pile and
// mask with the same code when it is made.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace orrindale::readerart {

// The reader picture's size and the places of what stands in front of it.
inline constexpr int kWidth = 370, kHeight = 250;
inline constexpr int kCardWidth = 221, kCardHeight = 74;
inline constexpr QRect kMask{22, 26, 251, 147};
inline constexpr QRect kDragArea{204, 197, 44, 12};
inline constexpr int kFeedButtonLeft = 110, kFeedButtonFromBottom = 26;
inline constexpr int kFeedButtonWidth = 80, kFeedButtonHeight = 20;
inline constexpr int kLabelWidth = 43, kLabelHeight = 16, kLabelRight = 24, kLabelBottom = 7;
// Where the window puts the button and the count label; the picture gives both a dark plate on
// the housing there.
inline constexpr QRect kFeedButton{kFeedButtonLeft, kHeight - kFeedButtonFromBottom,
                                   kFeedButtonWidth, kFeedButtonHeight};
inline constexpr QRect kLabel{kWidth - kLabelRight - kLabelWidth,
                              kHeight - kLabelBottom - kLabelHeight, kLabelWidth, kLabelHeight};
inline const QColor kSky(166, 202, 240);   // outside the reader: transparent
inline const QColor kMaskKey(255, 0, 255); // the mask's own transparent colour
inline const QColor kDragColour(251, 244, 234);

// Every picture is drawn at a scale: 1, or 2 for screens that scale by two, where the same
// drawing has twice the pixels and device pixel ratio 2, so it covers the same logical place.
QImage RenderReader(int scale = 1);
// The moving card and the pile, on sky blue where they are not card.
QImage RenderMovingCard(int scale = 1);
QImage RenderPile(int scale = 1);
// The cover over the card's way inside the reader, kMaskKey where the card shows; its logical
// pixel (126, 126) holds that colour.
QImage RenderMask(int scale = 1);

} // namespace orrindale::readerart

namespace orrindale::cardart {

// The blank marked card, "HP9pgcd.dat": a cream card with its mark boxes, row numbers, the
// column values, the row-29 box and the title fields; at scale 2 as the reader's pictures.
QImage RenderBlankCard(int scale = 1);

} // namespace orrindale::cardart
