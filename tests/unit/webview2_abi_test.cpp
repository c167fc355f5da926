// Checks the WebView2 declarations against the team's ABI facts, when that
// file is beside the checkout: every method's vtable slot and every interface
// identifier. A wrong slot would crash against the real browser.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "platform/webview2.h"

namespace {

// Under the Itanium C++ ABI (GCC, Linux and MinGW alike) a pointer to a
// virtual member function holds 1 + the byte offset of its vtable entry.
template <typename Method>
int SlotOf(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(void*));
  uintptr_t words[2];
  std::memcpy(words, &method, sizeof words);
  return static_cast<int>((words[0] - 1) / sizeof(void*));
}

std::string IidText(const IID& iid) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", iid.Data1, iid.Data2,
                iid.Data3, iid.Data4[0], iid.Data4[1], iid.Data4[2], iid.Data4[3], iid.Data4[4], iid.Data4[5],
                iid.Data4[6], iid.Data4[7]);
  return text;
}

struct Declared {
  std::string iid;
  std::map<std::string, int> slots;  // method name -> slot
};

#define METHOD(I, M) {#M, SlotOf(&I::M)}
#define IFACE(I, ...) {#I, {IidText(IID_##I), {__VA_ARGS__}}}

#include "tests/unit/webview2_abi_methods.inc"

std::string FactsPath() {
  for (const char* path : {"../shared/webview2-abi.md", "../../shared/webview2-abi.md", "../../../shared/webview2-abi.md",
                           "../../../../shared/webview2-abi.md"}) {
    if (std::ifstream(path)) return path;
  }
  return {};
}

TEST(WebView2Abi, SlotsAndIdentifiersMatchTheFacts) {
  const std::string path = FactsPath();
  if (path.empty()) GTEST_SKIP() << "the ABI facts file is not beside the checkout";
  std::ifstream in(path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string facts = buffer.str();

  const auto declared = DeclaredInterfaces();
  int checked = 0;
  for (const auto& [name, decl] : declared) {
    // Own interfaces: a section with an IID line and a slot table.
    const std::regex section("### " + name + "\\b[^\\n]*\\n\\n- IID: `\\{([0-9A-F-]+)\\}`");
    std::smatch match;
    if (std::regex_search(facts, match, section)) {
      EXPECT_EQ(decl.iid, match[1].str()) << name;
      const size_t start = static_cast<size_t>(match.position(0));
      const size_t end = facts.find("\n### ", start + 4);
      const std::string table = facts.substr(start, end - start);
      const std::regex row("\\| (\\d+) \\| `(\\w+)\\(");
      for (auto it = std::sregex_iterator(table.begin(), table.end(), row); it != std::sregex_iterator(); ++it) {
        const std::string method = (*it)[2].str();
        const auto found = decl.slots.find(method);
        if (found == decl.slots.end()) continue;  // not every method is listed here
        EXPECT_EQ(std::stoi((*it)[1].str()), found->second) << name << "::" << method;
        ++checked;
      }
      continue;
    }
    // Handlers: one row each in the handler table, Invoke at slot 3.
    const std::regex handler("\\| `" + name + "` \\| `\\{([0-9A-F-]+)\\}`");
    ASSERT_TRUE(std::regex_search(facts, match, handler)) << name << " is not in the facts";
    EXPECT_EQ(decl.iid, match[1].str()) << name;
    EXPECT_EQ(decl.slots.at("Invoke"), 3) << name;
    ++checked;
  }
  EXPECT_GT(checked, 150);
}

}  // namespace
