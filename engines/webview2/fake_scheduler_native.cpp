// Natively the double's later work waits in a queue until the test pumps it.
#include <deque>
#include <mutex>

#include "engines/webview2/fake_browser.h"

namespace fake_webview2 {

namespace {
std::mutex gLock;
std::deque<std::function<void()>> gQueue;
}  // namespace

void PageViewRecorded(const std::string&) {}  // nothing to show without windows

void Post(std::function<void()> work, unsigned) {
  std::lock_guard<std::mutex> guard(gLock);
  gQueue.push_back(std::move(work));
}

size_t Pump() {
  size_t ran = 0;
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> guard(gLock);
      if (gQueue.empty()) return ran;
      work = std::move(gQueue.front());
      gQueue.pop_front();
    }
    work();
    ++ran;
  }
}

}  // namespace fake_webview2
