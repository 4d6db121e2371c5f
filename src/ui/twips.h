#pragma once
// Designed positions are in twips; at 96 dots per inch 15 of them make a pixel,
// and Qt scales logical pixels on high-density screens.

namespace valmerin {

constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace valmerin
