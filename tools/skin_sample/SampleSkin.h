// Writes the sample's skin into a folder at run time (no image or ini is kept in the source tree):
//   data\skin\skin_info.ini            one category "sample" (path "sample", skin_path "sample\%s")
//   data\skin\sample\sample_dlg.ini    BACK (size, background, magenta colour key), FONT (two fonts), TITLE
//   and
//                                      STATUS text boxes
//   data\skin\sample\sample_back.bmp   the background: a rounded panel with a header band; magenta corners
//   data\skin\sample\spinner.ini/.bmp  a four-frame animated strip
// Ini files are UTF-16LE with the byte-order mark; images are 24-bit BMP files.
#pragma once

#include <string>

namespace skin_sample {

// True when every file was written under `folder`.
bool WriteSampleSkin(const std::wstring& folder);

}  // namespace skin_sample
