// What the editor window holds and decides, apart from the controls: the
// argument text's cleaning, which file is accepted, what the inputs show for a
// tag, which record a save writes, which message each command shows, and the
// texts of the caption, the About box and the information panel. The window
// copies between this and its controls.
#pragma once

#include "identity.h"
#include "tagstore/tag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace id3 {

class clsMP3Info;

namespace form {

using id3::kAppTitle;

// The per-user settings: HKEY_CURRENT_USER\Software\<title>\General.
inline constexpr std::string_view kSettingsSection = "General";
inline constexpr std::string_view kNoAnimationsKey = "NoAnimations";
inline constexpr std::string_view kNoFileInfoKey = "NoFileInfo";

using id3::Version;

// The title and the version: "Quelmo ID3TAG EDITOR v1.0.14".
std::string Caption(const Version& version);

// The argument text made into a path: the play option "-noplay" taken out
// where it stands as a whole word after a blank, outside double quotes, in any
// letter case, and every double quote removed. The rest is one path, blanks
// and all, so a quoted "C:\Music\Live -noplay set.mp3" is that very file.
struct Argument {
  std::string path;
  bool no_play;
};
Argument CleanArgument(std::string_view text);

// A path is accepted when it ends in ".mp3" in any letter case; the file need
// not exist.
bool IsAcceptedPath(std::string_view path);

// The title offered for a file whose tag has none: its name without folder and
// extension, cut to what the title box holds.
inline constexpr std::size_t kTextLimit = 30;
inline constexpr std::size_t kYearLimit = 4;
std::string ProposedTitle(std::string_view path);

// The stored preference text as a check box state, and back. Only "1" (blanks
// around it allowed) ticks the box; anything else, a missing value included,
// leaves it clear.
bool PreferenceChecked(std::string_view stored);
std::string PreferenceText(bool checked);

// The five text boxes, by their index in the window's text box array, which is
// the order on screen, not the record's.
enum TextIndex : std::size_t { kAlbum, kArtist, kComment, kTitle, kYear, kTextCount };

// What the inputs hold: the five texts and the genre list's selection (-1 for
// none) with the selected entry's text, and whether the user chose an entry
// from the list since the load, by mouse or keyboard, the one shown included.
struct TagInputs {
  std::array<std::string, kTextCount> text;
  int genre_index;
  std::string genre_text;
  bool genre_chosen = false;
};

// The inputs that show a file's tag; the title is proposed from the path when
// the tag has none. The genre text is left empty: the list holds the names.
TagInputs ShownInputs(const TagFields& tag, std::string_view path);

// The longest text a box takes for the tag loaded: 4 for the year, 30 for the
// others, but 28 for the comment of a record with a track number, which holds
// two bytes less comment; the box says so rather than losing them at the save.
std::size_t TextLimit(TextIndex box, const TagFields& loaded);

// The record a save writes: the inputs as typed, the marker "TAG", and what
// the user could not see or never touched kept from the loaded tag: the track
// number, and the genre unless one was chosen (so a genre byte that has no
// name, shown as "Blues", survives; "Blues" chosen on purpose is written).
TagFields FieldsToSave(const TagInputs& inputs, const TagFields& loaded);

// The message boxes of the commands and the load.
enum class Icon { Exclamation, Critical, Information };
enum class Buttons { Ok, OkCancel };
struct Message {
  std::string_view text;
  std::string_view caption;
  Icon icon;
  Buttons buttons;
};

inline constexpr Message kSelectGenre{"Please select a genre!", kAppTitle, Icon::Exclamation,
                                      Buttons::Ok};
inline constexpr Message kNoFileOpen{"No file open!", kAppTitle, Icon::Exclamation, Buttons::Ok};
inline constexpr Message kConfirmDelete{"Delete?", kAppTitle, Icon::Critical, Buttons::OkCancel};
inline constexpr Message kInvalidFile{"Invalid file!", "Error!", Icon::Exclamation, Buttons::Ok};

// "Error saving data!" for a failed save or delete, with why on a second line.
Message SaveFailure(TagError error);

// The checks before a save and a delete, in their order; the first that fails
// gives its message, none failing gives nothing. A file that is gone is told
// as SaveFailure(NotFound).
std::optional<Message> SaveRefusal(bool genre_selected, const std::string& current_file);
std::optional<Message> DeleteRefusal(const std::string& current_file);

// Lines joined by CR LF, none after the last.
std::string AboutText(const Version& version);

// The panel's text for a refused path.
inline constexpr std::string_view kNoFileOpenValue = "No file open.";

// The eight audio values of the panel, after the file's shortened path, in
// their order on screen: bit rate, emphasis, duration, frequency, layer, file
// size, channel mode, MPEG version. decimal_separator is the user's. The file
// size is the file's own, also when no audio was found in it.
std::array<std::string, 8> AudioValues(const clsMP3Info& info, std::uint64_t file_size,
                                       std::string_view decimal_separator);

} // namespace form
} // namespace id3
