// Paths and byte counts as display text. Pure text work: no file is touched.
#pragma once

#include <locale>
#include <string>
#include <string_view>

namespace id3 {

// The part of path after its last backslash, or else after its last "/"; the
// whole path when it ends in a separator or has none. The backslash is looked
// for first, so "C:\a/b.mp3" gives "a/b.mp3".
std::string FileNameOf(const std::string& path);

// Everything before the last "." of name, wherever it stands ("C:\my.dir\song"
// gives "C:\my"); the empty text when name has no ".".
std::string StripExtension(const std::string& name);

// A byte count in the largest of Bytes, KB, MB and GB that keeps the number at
// 1024 or below (GB however large), with two decimals and the digit grouping
// of the user's locale: "1,024.00 Bytes", "1.50 KB", "3.81 MB" in English.
// On Windows the user's locale settings (GetNumberFormatEx); elsewhere the
// locale of the environment (LC_ALL, LC_NUMERIC, LANG).
std::string FormatFileSize(double size);
// The number with two decimals as FormatFileSize writes it, in the user's
// locale.
std::string FormatTwoDecimals(double value);
// Elsewhere than on Windows: the same in the separators and grouping of loc.
// The iostreams and locale machinery it needs would more than double the size
// of the Windows program, which formats through GetNumberFormatEx instead.
std::string FormatTwoDecimals(double value, const std::locale& loc);

// The number and unit FormatFileSize shows for size.
struct ScaledSize {
  double value;
  std::string_view unit; // " Bytes", " KB", " MB" or " GB"
};
ScaledSize ScaleFileSize(double size);

} // namespace id3
