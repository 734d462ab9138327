// The editor window's class name and control identifiers. The window is
// driven by these from outside as well: the tests find its controls by them.
#pragma once

namespace id3::form1 {

inline constexpr wchar_t kClassName[] = L"Id3TagEditorForm1";
inline constexpr wchar_t kContainerClassName[] = L"Id3TagEditorContainer";

enum ControlId : int {
  kText1 = 100, // Text1(0) to Text1(4): album, artist, comment, title, year
  kCombo1 = 110,
  kLabel1 = 120, // Label1(0) to Label1(5): the captions of the inputs
  kFrame1 = 130,
  kFrame1Box = 131,
  kFrame2 = 140,
  kFrame2Box = 141,
  kLabel2 = 150, // "File:"; Label4 to Label11 follow as 151 to 158
  kLabel3 = 160, // Label3(0) to Label3(8): the panel's values
  kCommand4 = 170,
  kPicture1 = 180,
  kLine3d2 = 181,
  kCheck1 = 182,
  kCheck2 = 183,
  kCommand3 = 184,
  kCommand2 = 185,
  kCommand1 = 186,
  kMnuAbout = 200,
};

inline constexpr int kTextCount = 5;
inline constexpr int kValueCount = 9;

} // namespace id3::form1
