// The editor window's class name and control identifiers. The window is
// driven by these from outside as well: the tests find its controls by them.
#pragma once

namespace id3::editor_ids {

inline constexpr wchar_t kClassName[] = L"Id3TagEditorForm1";
inline constexpr wchar_t kContainerClassName[] = L"Id3TagEditorContainer";

enum ControlId : int {
  kTextBoxes = 100, // 100 to 104 by form::TextIndex: album, artist, comment, title, year
  kGenreBox = 110,
  kInputCaptions = 120, // 120 to 125: the captions of the six inputs, top to bottom
  kTagFrame = 130,
  kTagFrameBox = 131,
  kInfoFrame = 140,
  kInfoFrameBox = 141,
  kInfoCaptions = 150, // 150 to 158: the information panel's captions, "File:" first
  kInfoValues = 160,   // 160 to 168: the panel's values, beside their captions
  kPlayButton = 170,
  kBottomPanel = 180,
  kSeparator = 181,
  kNoAnimationsBox = 182,
  kHideInfoBox = 183,
  kDeleteButton = 184,
  kOkButton = 185,
  kCancelButton = 186,
  kAboutMenu = 200,
  kEncodingItems = 300, // 300 on: the Encoding menu's code pages, in form::Document's order
};

inline constexpr int kTextCount = 5;
inline constexpr int kValueCount = 9;
// More than the candidate code pages and the system's own.
inline constexpr int kEncodingItemsMost = 32;

} // namespace id3::editor_ids
