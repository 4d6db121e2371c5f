#pragma once
// Windows designed for Tahoma 8.25 meet wider faces on machines without it: the
// font gets smaller, a quarter point at a time, until the window's texts fit.
#include <QFont>
#include <functional>

namespace valmerin {

// Applies `font` at its own size, then at ever smaller sizes down to 6.5 points,
// stopping at the first size `fits` accepts; where even the smallest size does not
// fit, the same steps again with the face drawn narrower, as the condensed faces
// are. Returns the font left applied.
QFont FitFont(const QFont& font, const std::function<void(const QFont&)>& apply,
              const std::function<bool()>& fits);

}  // namespace valmerin
