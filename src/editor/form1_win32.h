// Form1, the editor window: the six tag inputs, the file information panel and
// the bottom panel with the commands and the two preferences. Windows builds
// only.
#pragma once

#include "editor/form_model.h"
#include "effects/animater_win32.h"
#include "tagstore/tag.h"
#include "wingui/gdi_win32.h"
#include "wingui/window_win32.h"

#include <oleacc.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace id3 {

class Form1 {
public:
  Form1() = default;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

  // Creates the window hidden, runs the load handling and shows it.
  void Show();
  HWND Window() const { return hwnd_; }

  void ClearTexts();

private:
  void SetfileInfoState();
  void LoadTag(const std::string& FileName);

  // Life cycle.
  bool Create();
  void CreateControls();
  void Form_Load();
  void Form_Unload();
  void Unload();

  // Commands. Esc reaches Command1_Click as the dialog manager's IDCANCEL.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void mnuAbout_Click();
  void Check2_Click();
  void Combo1_Click();
  void Form_OLEDragDrop(const std::string& path);
  void Form_DpiChanged(int dpi, const RECT& suggested);

  // Keyboard and focus. Tab, Esc, Enter on a button, the album box's focus
  // when the window shows and the focus that comes back with the window are
  // the dialog manager's.
  void Text1_KeyPress(std::int16_t Index, std::int16_t& KeyAscii);
  void Combo1_KeyPress(std::int16_t& KeyAscii);
  void Text1_GotFocus(std::int16_t Index);
  // Whatever changes a box's text (keys, a paste, an input method, undo) runs
  // through here, so that the box takes no more than the record holds.
  LRESULT Text1_Change(std::size_t Index, UINT message, WPARAM wParam, LPARAM lParam);

  // Window procedures: they dispatch to the handlers above. The window's own
  // reaches this object through win::ObjectWindowProc.
  template <class Object> friend LRESULT CALLBACK win::ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  static Form1* Attach(HWND window, const CREATESTRUCTW& create);
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
  void ShowPath();
  void FillPanel();
  void SetValue(std::size_t index, const std::string& text);
  void SetLabel(HWND label, const std::string& text);
  int ShowMessage(const form::Message& message);
  void NameCommand4();

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
  bool Checked(HWND box) const;
  // A text box by its form::TextIndex, or the genre list (form::kGenreList).
  HWND Input(std::size_t index) const;

  // The accessible name given to the "..." button, cleared with the window.
  struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<IAccPropServices, ComRelease> acc_props_;

  HWND hwnd_ = nullptr;
  HWND frame1_ = nullptr;
  HWND frame2_ = nullptr;
  HWND picture1_ = nullptr;
  std::array<HWND, form::kTextCount> text1_{};
  HWND combo1_ = nullptr;
  std::array<HWND, 9> captions_{}; // Label2, Label4 to Label11
  std::array<HWND, 9> label3_{};
  HWND command1_ = nullptr;
  HWND command2_ = nullptr;
  HWND command3_ = nullptr;
  HWND command4_ = nullptr;
  HWND check1_ = nullptr;
  HWND check2_ = nullptr;
  std::vector<Placed> placed_;

  int dpi_ = 96;
  gdi::UniqueFont font_;
  gdi::UniqueFont bold_font_;
  std::optional<Animater> animater_;
  bool unloading_ = false;

  // The file on screen, in the system's code page, and whether the user has
  // chosen a genre since it was loaded.
  form::Document doc_{CodePage::SystemDefault()};
  bool genre_chosen_ = false;
};

// Creates the program-wide editor window if there is none, loads it (which
// reads the argument text) and shows it; the window, null when it could not
// be created. The thread is to be in a COM apartment while the window lives.
HWND ShowForm1();

} // namespace id3
