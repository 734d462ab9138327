// Opens the editor on a file and tells what its window shows, for the main
// job and the README's screenshot: it starts id3edit.exe, waits until the
// window is ready, prints the caption, the inputs and the information panel,
// writes the window's screen rectangle to READY_FILE, waits until DONE_FILE
// appears (or, with --keep-open, until the user closes the window) and closes
// the window as its close box would.
#include "driver_win32.h"

#include "editor/form1_controls.h"
#include "tools/wintext_win32.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace id3::form1;

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: show_editor MP3 READY_FILE DONE_FILE [--keep-open]\n");
    return 2;
  }
  const std::filesystem::path ready = argv[2], done = argv[3];
  id3::test::Editor editor(L"\"" + std::wstring(argv[1]) + L"\"");
  if (!editor.WaitReady()) {
    std::fprintf(stderr, "show_editor: the editor window did not come up\n");
    return 1;
  }
  const auto text = [&](int id) { return id3::win::Narrow(editor.Text(id)); };
  const auto print = [](const std::string& caption, const std::string& value) {
    std::printf("  %-16s %s\n", caption.c_str(), value.c_str());
  };
  std::printf("%s\nMP3 TAG\n", id3::win::Narrow(id3::test::TextOf(editor.Window())).c_str());
  const int inputs[] = {kText1, kText1 + 1, kCombo1, kText1 + 2, kText1 + 3, kText1 + 4};
  for (int i = 0; i < 6; ++i)
    print(text(kLabel1 + i),
          inputs[i] == kCombo1 ? id3::win::Narrow(editor.GenreText()) : text(inputs[i]));
  std::printf("File information\n");
  for (int i = 0; i < kValueCount; ++i) print(text(kLabel2 + i), text(kLabel3 + i));
  std::printf("[%c] %s   [%c] %s\n", editor.Checked(kCheck1) ? 'x' : ' ', text(kCheck1).c_str(),
              editor.Checked(kCheck2) ? 'x' : ' ', text(kCheck2).c_str());
  std::fflush(stdout);

  RECT r{};
  GetWindowRect(editor.Window(), &r);
  std::ofstream(ready) << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' '
                       << (r.bottom - r.top) << '\n';
  const bool keep_open = argc > 4 && std::wstring(argv[4]) == L"--keep-open";
  while (editor.Running() && (keep_open || !std::filesystem::exists(done))) Sleep(50);
  if (editor.Running()) PostMessageW(editor.Window(), WM_CLOSE, 0, 0);
  if (!editor.WaitForExit()) return 1;
  std::printf("The editor closed (exit code %lu).\n", editor.ExitCode());
  return static_cast<int>(editor.ExitCode());
}
