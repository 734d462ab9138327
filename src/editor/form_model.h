// What the editor window holds and decides, apart from the controls: the
// argument text's cleaning, the document (the file on screen, what the inputs
// show for it, what a save writes and which message each command shows), what
// a box takes, and the texts of the caption, the About box and the
// information panel. The window copies between this and its controls.
#pragma once

#include "identity.h"
#include "inspect/inspection.h"
#include "tagstore/codepage_choice.h"
#include "tagstore/tag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace id3 {

class AudioFacts;

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

// The two preferences, as their check boxes show them.
struct Preferences {
  bool no_animations = false;
  bool no_file_info = false;
  friend bool operator==(const Preferences&, const Preferences&) = default;
};
// The preferences from their stored texts, looked up by key (nullopt for a
// missing value). Only "1" (blanks around it allowed) ticks a box; anything
// else, a missing value included, leaves it clear.
Preferences
ReadPreferences(const std::function<std::optional<std::string>(std::string_view key)>& stored);
// Each preference's key and the text it is stored as, "1" or "0", in the
// order they are written.
struct StoredPreference {
  std::string_view key;
  std::string text;
};
std::array<StoredPreference, 2> StoredPreferences(const Preferences& preferences);

// The five text boxes, by their index in the window's text box array, which is
// the order on screen, not the record's.
enum TextIndex : std::size_t { kAlbum, kArtist, kComment, kTitle, kYear, kTextCount };
// The six inputs by the same index, the genre list after the text boxes.
inline constexpr std::size_t kGenreList = kTextCount;
// Where Enter in an input sends the focus: the next input on screen (album,
// artist, genre, note, title, year), and from the year back to the album.
std::size_t NextOnEnter(std::size_t input);

// What the inputs hold: the five texts and the genre list's selection (-1 for
// none) with the selected entry's text, and whether the user chose an entry
// from the list since the load, by mouse or keyboard, the one shown included.
struct TagInputs {
  std::array<std::string, kTextCount> text;
  int genre_index = -1;
  std::string genre_text;
  bool genre_chosen = false;
};

// A box's text after a change, and where the caret goes: bytes of text before
// it.
struct BoxText {
  std::string text;
  std::size_t caret;
};

// What a box's text becomes after a change by the user (typing, a paste, an
// input method, undo): whatever is new in after, against before (caret, in
// bytes of after, tells where it ends when that is ambiguous), has each
// character the code page lacks replaced by what will be stored, and is cut,
// in whole characters, to what fits in limit bytes of the code page; the caret
// goes after what was kept. So a box never holds more than its field, and
// shows what a save writes.
BoxText FitBoxText(std::string_view before, std::string_view after, std::size_t caret,
                   std::size_t limit, const CodePage& cp);

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

// An item of the Encoding menu: a code page the tag can be read in, by its
// display name ("Cyrillic (Windows-1251)"); the one the load decided carries
// the reason after a dash ("from the ID3v2 tag").
struct EncodingItem {
  std::string text;
  bool checked; // the code page in use
};

// The file on screen: what was loaded from it, what the inputs showed, and the
// load, save and delete decisions. The window copies between this and its
// controls and shows the messages it gives.
class Document {
public:
  // cp: the code page a tag is read and written in when the file gives no
  // evidence of its own (the system's on Windows), and that of a new tag.
  explicit Document(CodePage cp);

  // Inspects the file, opened once, for its tag (read in the code page the
  // file decides), its ID3v2 proposal and its audio facts. A refused path
  // leaves no file open, and gives the message to show.
  std::optional<Message> Load(std::string_view path);
  // A value offered for an input in place of what the file holds (the file's
  // name for a tag without a title): shown as if typed, so it fits the box.
  void Propose(TextIndex box, std::string_view text);

  // The full path of the file on screen; empty when none.
  const std::string& CurrentFile() const { return path_; }
  // Its length at the load: the file's own, also when it holds no audio.
  std::uint64_t FileSize() const { return size_.value_or(0); }
  // What the inputs show after the load, or after the last choice of a code
  // page in the boxes it read again.
  const TagInputs& Shown() const { return shown_; }
  // The code page the tag is shown and saved in, and why: decided at the load
  // by ChooseCodePage from the record and the ID3v2 tag's texts (no option;
  // the fallback is the document's code page), or chosen by the user since
  // (CodePageFrom::kOption).
  const CodePageChoice& Choice() const { return choice_; }
  // The Encoding menu: the candidates (CandidateCodePages, and the document's
  // code page if it is none), the one in use checked.
  std::vector<EncodingItem> Encodings() const;
  // The user chose item of Encodings for the open file. A box the user left
  // as the document last showed it is read again in that code page from the
  // record's bytes (a proposed value is fitted again from its own text); an
  // edited box keeps its text, fitted like typed text, so that it still shows
  // what Save writes. No byte changes until Save, which writes the edited
  // fields in that code page. What the inputs show now.
  TagInputs UseEncoding(std::size_t item, const TagInputs& inputs);
  // The audio facts of the load.
  const AudioFacts& Audio() const { return audio_; }
  // Title, artist or album whole where a TAG+ block extends the box's 30
  // bytes; nothing for the other boxes and where nothing extends it.
  std::optional<std::string> WholeText(TextIndex box) const;
  // Bytes of the code page a box takes: 4 for the year, 30 for the others, but
  // 28 for the comment of a record with a track number.
  std::size_t Limit(TextIndex box) const;
  // FitBoxText for the box.
  BoxText Fit(TextIndex box, std::string_view before, std::string_view after,
              std::size_t caret) const;

  // Writes the inputs as the tag; the message to show, none when the tag was
  // written (the window then closes). A text the user left as the load showed
  // it keeps the bytes it was read from, whatever the code page; so does the
  // genre byte unless a genre was chosen, and the track number always.
  std::optional<Message> Save(const TagInputs& inputs) const;
  // The refusal before the question; then, when the user confirmed, the
  // removal, with the message to show when it failed.
  std::optional<Message> DeleteRefusal() const;
  std::optional<Message> Delete() const;

private:
  // A code page of the Encoding menu.
  struct Encoding {
    CodePage code_page;
    std::string name, display;
  };
  std::vector<Encoding> EncodingList() const;
  const CodePage& InUse() const { return choice_.code_page; }
  // The box's text from its origin, in the code page in use: the record's
  // field decoded, or the value proposed for it fitted.
  std::string FromOrigin(TextIndex box) const;

  // For a file without an ID3v1 tag, the values of its ID3v2 tag, by the
  // rules id3v1 set --from-id3v2 follows; the genre selected where it maps.
  void ProposeId3v2(const id3v2::Proposal& proposal);

  CodePage cp_;
  CodePageChoice decided_; // at the load
  CodePageChoice choice_;  // in use
  AudioFacts audio_;
  std::optional<LongTexts> long_texts_;
  std::string path_;
  std::optional<std::uint64_t> size_;
  std::optional<TagRecord> record_; // none when the file has no tag
  TagFields read_;                  // the record's fields, decoded
  TagInputs shown_;
  std::array<std::optional<std::string>, kTextCount> proposed_; // as offered, before fitting
};

// Lines joined by CR LF, none after the last.
std::string AboutText(const Version& version);

// The panel's text for a refused path.
inline constexpr std::string_view kNoFileOpenValue = "No file open.";

// The eight audio values of the panel, after the file's shortened path, in
// their order on screen: bit rate, emphasis, duration, frequency, layer, file
// size, channel mode, MPEG version. decimal_separator is the user's. The file
// size is the file's own, also when no audio was found in it.
std::array<std::string, 8> AudioValues(const AudioFacts& info, std::uint64_t file_size,
                                       std::string_view decimal_separator);

} // namespace form
} // namespace id3
