#include "engines/chromium/helper_link_win32.h"

#include <ws2tcpip.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "shared/util/command_line.h"

namespace vantrel::chromium {

namespace {

class Socket {
 public:
  explicit Socket(SOCKET s = INVALID_SOCKET) : s_(s) {}
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET Get() const { return s_; }
  SOCKET Release() { return std::exchange(s_, INVALID_SOCKET); }

 private:
  SOCKET s_;
};

// Waits until `s` can be read; false on timeout.
bool WaitReadable(SOCKET s, DWORD deadline) {
  const DWORD now = GetTickCount();
  if (static_cast<LONG>(deadline - now) <= 0) return false;
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  const DWORD left = deadline - now;
  timeval wait{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

void StartHelperProcess(const HelperOptions& options, unsigned short port) {
  ustring commandLine = QuoteCommandLineArgument(options.node) + u" " +
                        QuoteCommandLineArgument(Utf8ToUtf16(options.helperPath)) + u" --connect " +
                        Utf8ToUtf16(std::to_string(port));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
    throw std::runtime_error("cannot start the Chromium helper (error " + std::to_string(GetLastError()) + ")");
  }
  // Under Wine these say nothing about a Linux process; the helper ends itself.
  win32::UniqueHandle thread(process.hThread), child(process.hProcess);
}

}  // namespace

HelperLaunch::~HelperLaunch() {
  if (listener != INVALID_SOCKET) closesocket(listener);
}

std::unique_ptr<HelperLaunch> HelperLink::Launch(const HelperOptions& options) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("Winsock is not available");
  Socket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (listener.Get() == INVALID_SOCKET) throw std::runtime_error("cannot make a socket");
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener.Get(), 1) != 0 ||
      getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  StartHelperProcess(options, ntohs(address.sin_port));
  auto launch = std::make_unique<HelperLaunch>();
  launch->listener = listener.Release();
  launch->deadline = GetTickCount() + options.startSeconds * 1000;
  return launch;
}

std::unique_ptr<HelperLink> HelperLink::Connect(HelperLaunch& launch, std::string& readyLine) {
  const DWORD deadline = launch.deadline;
  if (!WaitReadable(launch.listener, deadline)) throw std::runtime_error("the Chromium helper did not connect");
  Socket connection(accept(launch.listener, nullptr, nullptr));
  if (connection.Get() == INVALID_SOCKET) throw std::runtime_error("the Chromium helper did not connect");
  const BOOL noDelay = TRUE;
  setsockopt(connection.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

  // The first line says whether Chromium came up.
  std::string received;
  char chunk[4096];
  size_t end;
  while ((end = received.find('\n')) == std::string::npos) {
    if (!WaitReadable(connection.Get(), deadline)) throw std::runtime_error("Chromium did not start in time");
    const int got = recv(connection.Get(), chunk, sizeof chunk, 0);
    if (got <= 0) throw std::runtime_error("the Chromium helper ended before Chromium was ready");
    received.append(chunk, static_cast<size_t>(got));
  }
  readyLine = received.substr(0, end);
  if (readyLine.find("\"ev\":\"ready\"") == std::string::npos) {
    throw std::runtime_error("Chromium did not start: " + readyLine);
  }
  std::unique_ptr<HelperLink> link(new HelperLink(connection.Release()));
  link->pending_ = received.substr(end + 1);
  return link;
}

HelperLink::~HelperLink() {
  Shutdown();
  if (reader_.joinable()) reader_.join();
  closesocket(socket_);
}

void HelperLink::Send(const std::string& jsonObject) {
  const std::string line = jsonObject + "\n";
  std::lock_guard<std::mutex> guard(sendLock_);
  size_t sent = 0;
  while (sent < line.size()) {
    const int n = send(socket_, line.data() + sent, static_cast<int>(line.size() - sent), 0);
    if (n <= 0) return;  // gone: the reader reports it
    sent += static_cast<size_t>(n);
  }
}

void HelperLink::Listen(std::function<void(std::string)> onLine, std::function<void()> onClosed) {
  reader_ = std::thread([this, onLine = std::move(onLine), onClosed = std::move(onClosed)] {
    std::string received = std::move(pending_);
    std::vector<char> chunk(1 << 16);
    for (;;) {
      size_t start = 0;
      for (size_t end; (end = received.find('\n', start)) != std::string::npos; start = end + 1) {
        onLine(received.substr(start, end - start));
      }
      received.erase(0, start);
      const int got = recv(socket_, chunk.data(), static_cast<int>(chunk.size()), 0);
      if (got <= 0) break;
      received.append(chunk.data(), static_cast<size_t>(got));
    }
    if (!shutDown_) onClosed();
  });
}

void HelperLink::Shutdown() {
  if (shutDown_.exchange(true)) return;
  shutdown(socket_, SD_BOTH);
}

}  // namespace vantrel::chromium
