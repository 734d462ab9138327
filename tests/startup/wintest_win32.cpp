#include "wintest_win32.h"

#include "tools/wintext_win32.h"

#include <array>
#include <atomic>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

namespace id3::test {
namespace {

using win::Narrow;
using win::Widen;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::string WindowText(HWND window) { return Narrow(TextOf(window)); }

Box ReadBoxOf(HWND dialog) {
  const BoxSeen seen = ReadBox(dialog);
  Box box{Narrow(seen.caption), Narrow(seen.text), seen.icon, {}};
  for (const std::wstring& button : seen.buttons) box.buttons.push_back(Narrow(button));
  return box;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectText(HWND window, LPARAM texts) {
  reinterpret_cast<std::vector<std::string>*>(texts)->push_back(WindowText(window));
  return TRUE;
}

void PressFirstButton(HWND dialog) {
  if (HWND button = FindWindowExW(dialog, nullptr, L"Button", nullptr))
    SendMessageW(button, BM_CLICK, 0, 0);
}

// Handles each new visible top-level window for which owned(pid) holds: a
// message box is read and answered, anything else is closed.
class WindowHandler {
public:
  explicit WindowHandler(std::function<bool(DWORD)> owned) : owned_(std::move(owned)) {}

  void Sweep(std::vector<Box>& boxes, std::vector<Window>& windows) {
    std::vector<HWND> found;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found) {
      DWORD pid = 0;
      GetWindowThreadProcessId(window, &pid);
      if (!owned_(pid) || !seen_.insert(window).second) continue;
      if (ClassOf(window) == L"#32770") {
        boxes.push_back(ReadBoxOf(window));
        PressFirstButton(window);
      } else {
        Window seen{WindowText(window), {}};
        EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&seen.texts));
        windows.push_back(std::move(seen));
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
  }

private:
  std::function<bool(DWORD)> owned_;
  std::set<HWND> seen_;
};

} // namespace

RunResult RunProgram(const std::wstring& command_line) {
  // The job ends every process of the run with the test, and reports when the
  // last one is gone (an NSIS uninstaller hands over to a copy of itself).
  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  UniqueHandle port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job.get(), port.get()};
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &association,
                               sizeof association) ||
      !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof limits))
    throw std::runtime_error("job set-up failed");

  std::wstring line = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &info))
    throw std::runtime_error("cannot start " + Narrow(command_line));
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  AssignProcessToJobObject(job.get(), process.get());
  ResumeThread(thread.get());

  RunResult result;
  WindowHandler handler([&job](DWORD pid) {
    UniqueHandle p(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    BOOL in_job = FALSE;
    return p && IsProcessInJob(p.get(), job.get(), &in_job) && in_job;
  });
  for (;;) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED overlapped = nullptr;
    // The wait only paces the sweeps for windows; it decides nothing.
    if (GetQueuedCompletionStatus(port.get(), &message, &key, &overlapped, 20) &&
        message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
      break;
    handler.Sweep(result.boxes, result.windows);
  }
  GetExitCodeProcess(process.get(), &result.exit_code);
  return result;
}

std::vector<Box> AnswerBoxesDuring(const std::function<void()>& action) {
  std::vector<Box> boxes;
  std::vector<Window> windows;
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    WindowHandler handler([](DWORD pid) { return pid == GetCurrentProcessId(); });
    while (!done) {
      handler.Sweep(boxes, windows);
      Sleep(20);
    }
  });
  action();
  done = true;
  answerer.join();
  return boxes;
}

TestKey::TestKey(const std::string& name, Kind kind)
    : path_(L"Software\\Id3StartupTest\\" + Widen(name)) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  HKEY key = nullptr;
  const DWORD options = kind == Kind::Refusing ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, options, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create test key " + name);
  key_.reset(key);
}

TestKey::~TestKey() {
  key_.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

void MakeKey(HKEY root, const std::string& sub_key, const std::string& value) {
  HKEY raw = nullptr;
  LSTATUS status = RegCreateKeyExW(root, Widen(sub_key).c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
  if (status == ERROR_CHILD_MUST_BE_VOLATILE)
    status = RegCreateKeyExW(root, Widen(sub_key).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &raw, nullptr);
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot make " + sub_key);
  UniqueHKey key(raw);
  const std::wstring text = Widen(value);
  RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool KeyExists(HKEY root, const std::string& sub_key) {
  return OpenRegKey(root, sub_key, KEY_READ) != nullptr;
}

std::vector<std::string> SubKeys(HKEY root, const std::string& sub_key) {
  std::vector<std::string> names;
  const UniqueHKey key = OpenRegKey(root, sub_key, KEY_READ);
  std::array<wchar_t, 256> name{};
  for (DWORD i = 0; key; ++i) {
    DWORD size = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key.get(), i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.push_back(Narrow(std::wstring_view(name.data(), size)));
  }
  return names;
}

} // namespace id3::test
