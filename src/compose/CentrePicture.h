// Where the template picture, the welcome panel and the outline go in the workspace. Pure
// geometry in pixels: the picture is centred exactly (halves are kept), a picture larger than the
// workspace gets negative coordinates and is cut off on both sides alike.
#pragma once

namespace lumora {

struct SizeF {
  double width = 0, height = 0;
};

struct RectF {
  double left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const RectF&, const RectF&) = default;
};

struct CentreLayout {
  RectF picture;
  RectF welcome;
  RectF outline;         // one pixel outside the picture all round
  bool outlineVisible;   // only once a document is open
};

CentreLayout CentrePicture(SizeF workspace, SizeF picture, SizeF welcome, bool documentOpen);

}  // namespace lumora
