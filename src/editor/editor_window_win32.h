// The editor window: the six tag inputs, the file information panel and
// the bottom panel with the commands and the two preferences. Windows builds
// only.
#pragma once

#include "editor/editor_controls.h"
#include "editor/form_model.h"
#include "effects/animater_win32.h"
#include "tagstore/tag.h"
#include "wingui/gdi_win32.h"
#include "wingui/window_win32.h"

#include <oleacc.h>
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace id3 {

class EditorWindow {
public:
  EditorWindow() = default;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;
  ~EditorWindow();

  // Creates the window hidden, runs the load handling and shows it.
  void Show();
  HWND Window() const { return hwnd_; }

  void ClearTexts();

private:
  void FitHeightToInfoPanel();
  void LoadTag(const std::string& path);

  // Life cycle.
  bool Create();
  void CreateControls();
  void OnLoad();
  void OnUnload();
  void Unload();

  // Commands. Esc reaches OnCancel as the dialog manager's IDCANCEL.
  void OnCancel();
  void OnOk();
  void OnDelete();
  void OnPlay();
  void OnAbout();
  // The user chose the code page of the Encoding menu's item.
  void OnEncodingChosen(std::size_t item);
  void OnHideInfoClicked();
  void OnGenreChosen();
  void OnFileDropped(const std::string& path);
  void OnDpiChanged(int dpi, const RECT& suggested);

  // Keyboard and focus. Tab, Esc, Enter on a button, the album box's focus
  // when the window shows and the focus that comes back with the window are
  // the dialog manager's.
  // A character typed into an input (a text box by its form::TextIndex, or
  // form::kGenreList); true when it was handled and goes no further.
  bool OnInputKey(std::size_t input, wchar_t key);
  void OnTextBoxFocus(std::size_t box);
  // Whatever changes a box's text (keys, a paste, an input method, undo) runs
  // through here, so that the box takes no more than the record holds.
  LRESULT FitChangedText(std::size_t index, UINT message, WPARAM wParam, LPARAM lParam);

  // Window procedures: they dispatch to the handlers above. The window's own
  // reaches this object through win::ObjectWindowProc.
  template <class Object> friend LRESULT CALLBACK win::ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  static EditorWindow* Attach(HWND window, const CREATESTRUCTW& create);
  void Detach();
  static LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR index, DWORD_PTR form);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnSize();

  // Copying between the controls and the form's model.
  form::TagInputs ReadInputs() const;
  void ShowInputs(const form::TagInputs& inputs);
  void FillEncodingMenu();
  void ShowPath();
  void FillPanel();
  void SetValue(std::size_t index, const std::string& text);
  void SetLabel(HWND label, const std::string& text);
  int ShowMessage(const form::Message& message);
  void NamePlayButton();

  // Geometry: every control keeps its place in twips, and Layout puts them
  // all there at the window's DPI, at creation and when the DPI changes.
  enum class Font { None, Regular, Bold };
  struct Placed {
    HWND window;
    RECT twips; // left, top, width, height
    Font font;
  };
  void MakeFonts();
  void Layout();
  int Twips(int twips) const;
  HWND Container(int id, int x, int y, int width, int height);
  HWND Control(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style, int x,
               int y, int width, int height, Font font, DWORD ex_style = 0);
  HWND Label(HWND parent, int id, const wchar_t* text, int x, int y, bool bold);
  // A text box by its form::TextIndex, or the genre list (form::kGenreList).
  HWND Input(std::size_t index) const;

  // The accessible name given to the "..." button, cleared with the window.
  struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<IAccPropServices, ComRelease> acc_props_;

  HWND hwnd_ = nullptr;
  HMENU encoding_menu_ = nullptr; // the menu bar's, which owns it
  HWND tag_frame_ = nullptr;
  HWND info_frame_ = nullptr;
  HWND bottom_panel_ = nullptr;
  std::array<HWND, form::kTextCount> text_boxes_{};
  HWND genre_list_ = nullptr;
  std::array<HWND, editor_ids::kValueCount> info_captions_{};
  std::array<HWND, editor_ids::kValueCount> info_values_{};
  HWND cancel_button_ = nullptr;
  HWND ok_button_ = nullptr;
  HWND delete_button_ = nullptr;
  HWND play_button_ = nullptr;
  HWND tooltip_ = nullptr; // the "..." button's, and the whole text of a box TAG+ extends
  HWND no_animations_box_ = nullptr;
  HWND hide_info_box_ = nullptr;
  std::vector<Placed> placed_;

  int dpi_ = 96;
  gdi::UniqueFont font_;
  gdi::UniqueFont bold_font_;
  std::optional<Animater> animater_;
  bool unloading_ = false;

  // The file on screen, the system's code page its fallback, and whether the
  // user has chosen a genre since it was loaded.
  form::Document doc_{CodePage::SystemDefault()};
  bool genre_chosen_ = false;
};

// Creates the program-wide editor window if there is none, loads it (which
// reads the argument text) and shows it; the window, null when it could not
// be created. The thread is to be in a COM apartment while the window lives.
HWND ShowEditorWindow();

} // namespace id3
