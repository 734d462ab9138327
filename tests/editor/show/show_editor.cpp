// Opens the editor on a file and tells what its window shows, for the main
// job and the README's screenshot: it starts id3edit.exe, waits until the
// window is ready, prints the caption, the inputs and the information panel,
// writes the window's screen rectangle to READY_FILE, waits until DONE_FILE
// appears (or, with --keep-open, until the user closes the window) and closes
// the window as its close box would.
#include "windriver_win32.h"

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
  id3::test::Program editor(ID3EDIT_EXE, L"\"" + std::wstring(argv[1]) + L"\"");
  if (!editor.WaitForWindow(kClassName) || !editor.WaitForFocus(kText1)) {
    std::fprintf(stderr, "show_editor: the editor window did not come up\n");
    return 1;
  }
  const auto text = [&](int id) { return id3::win::Narrow(editor.Text(id)); };
  std::printf("%s\nMP3 TAG\n", id3::win::Narrow(id3::test::TextOf(editor.Window())).c_str());
  const int inputs[] = {kText1, kText1 + 1, kCombo1, kText1 + 2, kText1 + 3, kText1 + 4};
  for (int i = 0; i < 6; ++i)
    std::printf("  %-16s %s\n", text(kLabel1 + i).c_str(), text(inputs[i]).c_str());
  std::printf("File information\n");
  for (int i = 0; i < kValueCount; ++i)
    std::printf("  %-16s %s\n", text(kLabel2 + i).c_str(), text(kLabel3 + i).c_str());
  std::printf("[%c] %s   [%c] %s\n", editor.Checked(kCheck1) ? 'x' : ' ', text(kCheck1).c_str(),
              editor.Checked(kCheck2) ? 'x' : ' ', text(kCheck2).c_str());
  std::fflush(stdout);

  RECT r{};
  GetWindowRect(editor.Window(), &r);
  std::ofstream(std::filesystem::path(argv[2]))
      << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top) << '\n';
  const bool keep_open = argc > 4 && std::wstring(argv[4]) == L"--keep-open";
  while (editor.Running() && (keep_open || !std::filesystem::exists(argv[3]))) Sleep(50);
  PostMessageW(editor.Window(), WM_CLOSE, 0, 0);
  if (editor.Running(20000)) return 1;
  std::printf("The editor closed (exit code %lu).\n", editor.ExitCode());
  return static_cast<int>(editor.ExitCode());
}
