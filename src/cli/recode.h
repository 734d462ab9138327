// id3v1 recode: a tag's text fields rewritten from the code page they are in
// into another.
#pragma once

#include "cli/app.h"
#include "cli/options.h"

namespace id3::cli {

// Each file's title, artist, album and comment read in --from (else
// --codepage, else the code page the file's own evidence or the fallback
// gives) and written in --to; year, track and genre keep their bytes.
int RunRecode(const Options& o, const CodePages& pages, const Output& out, const Output& err);

} // namespace id3::cli
