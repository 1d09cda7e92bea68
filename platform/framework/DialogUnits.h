// Dialog units to pixels. A horizontal dialog unit is a quarter of the
// dialog font's average character width, a vertical one an eighth of its
// height, so layouts follow the font and the screen's resolution.
#pragma once

#include "platform/framework/WinDef.h"

// Average character width as the dialog manager measures it: the width of
// the 52 letters A-Z and a-z, divided by 26, halved and rounded.
constexpr int AverageCharWidthFromAlphabet(int nAlphabetWidth) {
  return (nAlphabetWidth / 26 + 1) / 2;
}

// A template's place and size, the way the dialog manager builds a window:
// x, y, cx and cy each on its own, so a control's size in pixels does not
// depend on where it stands (mapping the corners could make it one pixel
// wider or narrower).
constexpr RECT DialogItemToPixels(int x, int y, int cx, int cy, int nBaseX, int nBaseY) {
  const int nLeft = MulDiv(x, nBaseX, 4);
  const int nTop = MulDiv(y, nBaseY, 8);
  return RECT{nLeft, nTop, nLeft + MulDiv(cx, nBaseX, 4), nTop + MulDiv(cy, nBaseY, 8)};
}
