// Opens the editor on a file and tells what its window shows, for the main
// job and the README's screenshot: it starts id3edit.exe, waits until the
// window is ready, prints the caption, the inputs and the information panel,
// writes the window's screen rectangle to READY_FILE, waits until DONE_FILE
// appears (or, with --keep-open, until the user closes the window) and closes
// the window as its close box would. With --save-title TEXT it types TEXT as
// the title and presses Ok instead, for scripts/test-shipped, which also names
// the shipped 32-bit program in ID3EDIT_EXE; that one starts under emulation
// there, so the waits are counted in minutes.
#include "driver_win32.h"

#include "editor/form1_controls.h"
#include "tools/wintext_win32.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using id3::test::Editor;
using namespace id3::form1;

// Each wait of the driver is bounded at 20 seconds; an emulated start needs
// several.
constexpr int kTries = 15;

void Print(const std::wstring& caption, const std::wstring& value) {
  std::printf("  %-16s %s\n", id3::win::Narrow(caption).c_str(), id3::win::Narrow(value).c_str());
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: show_editor MP3 READY_FILE DONE_FILE "
                         "[--keep-open | --save-title TEXT]\n");
    return 2;
  }
  const std::wstring mp3 = argv[1];
  const std::wstring ready = argv[2];
  const std::wstring done = argv[3];
  const bool keep_open = argc > 4 && std::wstring(argv[4]) == L"--keep-open";
  const bool save = argc > 5 && std::wstring(argv[4]) == L"--save-title";

  Editor editor(L"\"" + mp3 + L"\"");
  bool ready_now = false;
  for (int tries = 0; tries < kTries && !ready_now && editor.Running(); ++tries)
    ready_now = editor.WaitReady();
  if (!ready_now) {
    std::fprintf(stderr, "show_editor: the editor window did not come up\n");
    return 1;
  }
  wchar_t title[128] = {};
  GetWindowTextW(editor.Window(), title, 128);
  std::printf("%s\n", id3::win::Narrow(title).c_str());
  std::printf("MP3 TAG\n");
  const int inputs[] = {kText1, kText1 + 1, kCombo1, kText1 + 2, kText1 + 3, kText1 + 4};
  for (int i = 0; i < 6; ++i)
    Print(editor.Text(kLabel1 + i),
          inputs[i] == kCombo1 ? editor.GenreText() : editor.Text(inputs[i]));
  std::printf("File information\n");
  for (int i = 0; i < kValueCount; ++i) Print(editor.Text(kLabel2 + i), editor.Text(kLabel3 + i));
  std::printf("[%c] %s   [%c] %s\n", editor.Checked(kCheck1) ? 'x' : ' ',
              id3::win::Narrow(editor.Text(kCheck1)).c_str(), editor.Checked(kCheck2) ? 'x' : ' ',
              id3::win::Narrow(editor.Text(kCheck2)).c_str());
  std::fflush(stdout);

  RECT r{};
  GetWindowRect(editor.Window(), &r);
  std::ofstream(std::filesystem::path(ready))
      << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top) << '\n';
  if (save) {
    editor.SetText(kText1 + 3, argv[5]);
    editor.Click(kCommand2).get();
    for (int tries = 0; tries < kTries && editor.Running(); ++tries) editor.WaitForExit();
  } else if (keep_open) {
    while (editor.Running()) editor.WaitForExit();
  } else {
    while (!Exists(done) && editor.Running()) Sleep(50);
    if (editor.Running()) PostMessageW(editor.Window(), WM_CLOSE, 0, 0);
    if (!editor.WaitForExit()) return 1;
  }
  std::printf("The editor closed (exit code %lu).\n", editor.ExitCode());
  return static_cast<int>(editor.ExitCode());
}
