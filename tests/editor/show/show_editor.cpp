// Opens the editor on a file and tells what its window shows, for the main
// job and the README's screenshot: it starts id3edit.exe, waits until the
// window is ready, prints the caption, the inputs and the information panel,
// writes the window's screen rectangle to READY_FILE, waits until DONE_FILE
// appears (or, with --keep-open, until the user closes the window) and closes
// the window as its close box would. With --save-title TEXT it types TEXT as
// the title and presses Ok instead, for scripts/test-shipped, which also names
// the shipped 32-bit program in the environment's ID3EDIT_EXE; that one may
// start under emulation there, so the waits are repeated.
#include "windriver_win32.h"

#include "editor/editor_controls.h"
#include "tools/wintext_win32.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace id3::editor_ids;

// Each wait of the driver is bounded; an emulated start needs several.
constexpr int kTries = 15;

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: show_editor MP3 READY_FILE DONE_FILE "
                         "[--keep-open | --save-title TEXT]\n");
    return 2;
  }
  const bool keep_open = argc > 4 && std::wstring(argv[4]) == L"--keep-open";
  const bool save = argc > 5 && std::wstring(argv[4]) == L"--save-title";
  const wchar_t* exe = _wgetenv(L"ID3EDIT_EXE");
  id3::test::Program editor(exe ? exe : ID3EDIT_EXE, L"\"" + std::wstring(argv[1]) + L"\"");
  bool ready = false;
  for (int tries = 0; tries < kTries && !ready && editor.Running(); ++tries)
    ready = editor.WaitForWindow(kClassName) && editor.WaitForFocus(kTextBoxes);
  if (!ready) {
    std::fprintf(stderr, "show_editor: the editor window did not come up\n");
    return 1;
  }
  const auto text = [&](int id) { return id3::win::Narrow(editor.Text(id)); };
  std::printf("%s\nMP3 TAG\n", id3::win::Narrow(id3::test::TextOf(editor.Window())).c_str());
  for (int i = 0; const int input : {int(kTextBoxes), kTextBoxes + 1, int(kGenreBox),
                                     kTextBoxes + 2, kTextBoxes + 3, kTextBoxes + 4})
    std::printf("  %-16s %s\n", text(kInputCaptions + i++).c_str(), text(input).c_str());
  std::printf("File information\n");
  for (int i = 0; i < kValueCount; ++i)
    std::printf("  %-16s %s\n", text(kInfoCaptions + i).c_str(), text(kInfoValues + i).c_str());
  std::printf("[%c] %s   [%c] %s\n", editor.Checked(kNoAnimationsBox) ? 'x' : ' ',
              text(kNoAnimationsBox).c_str(), editor.Checked(kHideInfoBox) ? 'x' : ' ',
              text(kHideInfoBox).c_str());
  std::fflush(stdout);

  RECT r{};
  GetWindowRect(editor.Window(), &r);
  std::ofstream(std::filesystem::path(argv[2]))
      << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top) << '\n';
  if (save) {
    SendMessageW(editor.Control(kTextBoxes + 3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5]));
    editor.Click(kOkButton).get();
  } else {
    while (editor.Running() && (keep_open || !std::filesystem::exists(argv[3]))) Sleep(50);
    PostMessageW(editor.Window(), WM_CLOSE, 0, 0);
  }
  bool running = true;
  for (int tries = 0; tries < kTries && running; ++tries) running = editor.Running(20000);
  if (running) return 1;
  std::printf("The editor closed (exit code %lu).\n", editor.ExitCode());
  return static_cast<int>(editor.ExitCode());
}
