#pragma once

namespace vadero {

// The forms name the Windows fonts "MS Sans Serif" and "MS Serif"; this maps
// them onto DejaVu Sans and DejaVu Serif (Debian: fonts-dejavu-core). Call once
// after the QApplication exists.
void InstallFontSubstitutes();

}  // namespace vadero
