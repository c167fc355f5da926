// Checks the WebView2 declarations against the team's ABI facts, when that
// file is beside the checkout: every method's vtable slot and every interface
// identifier. A wrong slot would crash against the real browser.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
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

struct Facts {
  std::map<std::string, std::string> iids;                   // interface or handler -> IID
  std::map<std::string, std::map<std::string, int>> slots;   // interface -> method -> slot
  std::map<std::string, bool> handlers;
};

// The facts live beside this test as data: one line per fact.
Facts ReadFacts() {
  std::ifstream in(VANTREL_SOURCE_DIR "/tests/unit/webview2_abi_facts.txt");
  EXPECT_TRUE(in) << "tests/unit/webview2_abi_facts.txt is missing";
  Facts facts;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string kind, name;
    words >> kind >> name;
    if (kind == "interface" || kind == "handler") {
      words >> facts.iids[name];
      facts.handlers[name] = kind == "handler";
    } else if (kind == "slot") {
      std::string method;
      int slot = -1;
      words >> method >> slot;
      facts.slots[name][method] = slot;
    }
  }
  return facts;
}

TEST(WebView2Abi, SlotsAndIdentifiersMatchTheFacts) {
  const Facts facts = ReadFacts();
  ASSERT_FALSE(facts.iids.empty());
  for (const auto& [name, decl] : DeclaredInterfaces()) {
    const auto iid = facts.iids.find(name);
    ASSERT_NE(iid, facts.iids.end()) << name << " is not in the facts";
    EXPECT_EQ(decl.iid, iid->second) << name;
    if (facts.handlers.at(name)) {
      EXPECT_EQ(decl.slots.at("Invoke"), 3) << name;
      continue;
    }
    const auto& known = facts.slots.count(name) ? facts.slots.at(name) : std::map<std::string, int>{};
    for (const auto& [method, slot] : decl.slots) {
      const auto fact = known.find(method);
      // Every declared method must be a known fact: a guessed slot would crash the real browser.
      ASSERT_NE(fact, known.end()) << name << "::" << method << " has no recorded slot";
      EXPECT_EQ(fact->second, slot) << name << "::" << method;
    }
  }
}

}  // namespace
