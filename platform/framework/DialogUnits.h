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

constexpr RECT DialogUnitsToPixels(const RECT& rcDialogUnits, int nBaseX, int nBaseY) {
  return RECT{MulDiv(rcDialogUnits.left, nBaseX, 4), MulDiv(rcDialogUnits.top, nBaseY, 8),
              MulDiv(rcDialogUnits.right, nBaseX, 4), MulDiv(rcDialogUnits.bottom, nBaseY, 8)};
}
