#pragma once
// The connection to the Chromium helper (engines/chromium/helper.mjs), a
// Linux process started from under Wine: it connects to a port of ours on
// 127.0.0.1 and speaks one JSON object a line. Under Wine the program gets
// no usable handle of a Linux process, so the helper ends itself (and its
// Chromium) when this connection closes, also when the program is killed.
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ustring.h"

namespace vantrel::chromium {

struct HelperOptions {
  ustring node;             // Windows path of node (Linux's, through Z:)
  std::string helperPath;   // Linux path of helper.mjs
  unsigned startSeconds = 30;
};

// A helper started and not yet connected.
struct HelperLaunch {
  HelperLaunch() = default;
  ~HelperLaunch();
  HelperLaunch(const HelperLaunch&) = delete;
  HelperLaunch& operator=(const HelperLaunch&) = delete;
  SOCKET listener = INVALID_SOCKET;
  DWORD deadline = 0;
};

class HelperLink {
 public:
  // Listens on 127.0.0.1 and starts the helper. Call it on the thread that
  // runs the program's windows: under Wine a process started from another
  // thread of a busy program may never run. Throws std::runtime_error.
  static std::unique_ptr<HelperLaunch> Launch(const HelperOptions& options);
  // Waits (any thread) until the helper connects and reports its Chromium
  // ready; throws std::runtime_error saying what failed. `readyLine` gets
  // the ready event.
  static std::unique_ptr<HelperLink> Connect(HelperLaunch& launch, std::string& readyLine);
  ~HelperLink();
  HelperLink(const HelperLink&) = delete;
  HelperLink& operator=(const HelperLink&) = delete;

  // Sends one JSON object (any thread).
  void Send(const std::string& jsonObject);
  // Reads lines on a thread of its own: each to `onLine`, then `onClosed`
  // once when the connection ends (not after Shutdown()).
  void Listen(std::function<void(std::string)> onLine, std::function<void()> onClosed);
  // Closes the connection; the helper then ends Chromium and itself.
  void Shutdown();

 private:
  explicit HelperLink(SOCKET socket) : socket_(socket) {}
  SOCKET socket_;
  std::mutex sendLock_;
  std::thread reader_;
  std::atomic<bool> shutDown_{false};
  std::string pending_;  // bytes read after the ready line
};

}  // namespace vantrel::chromium
