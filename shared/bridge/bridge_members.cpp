#include "shared/bridge/bridge_members.h"

#include <rapidjson/document.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace vantrel {

namespace {
// UTF-8 inside: the parser keeps number texts correctly only in its
// narrow encoding.
using Document = rapidjson::Document;
using Value = rapidjson::Value;

const Value& AsValue(const void* value) { return *static_cast<const Value*>(value); }

std::string NameOf(const char16_t* name) { return Utf16ToUtf8(name); }

ustring TextOf(const Value& value, const char16_t* name) {
  if (value.IsString()) return Utf8ToUtf16(std::string_view(value.GetString(), value.GetStringLength()));
  if (value.IsBool()) return value.GetBool() ? u"true" : u"false";
  if (value.IsNull()) return {};
  throw EBridgeError("Member \"" + NameOf(name) + "\" is not a text value");
}

ustring FoldAscii(ustring text) {
  for (auto& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}
}  // namespace

struct TBridgeMessage::Tree {
  Document document;
};

TBridgeMessage::TBridgeMessage(const ustring& json) : tree_(std::make_unique<Tree>()) {
  // Numbers stay strings, so their literal text is what commands read.
  const std::string text = Utf16ToUtf8(json);
  // Iterative: a deeply nested message must not exhaust the stack.
  tree_->document.Parse<rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseIterativeFlag>(text.c_str(),
                                                                                                 text.size());
  if (tree_->document.HasParseError()) tree_.reset();
}

TBridgeMessage::~TBridgeMessage() = default;

TBridgeObject TBridgeMessage::Root() const {
  if (!tree_) throw EBridgeError("The message is not valid JSON");
  if (!tree_->document.IsObject()) throw EBridgeError("The message is not a JSON object");
  return TBridgeObject(&tree_->document);
}

const void* TBridgeObject::Member(const char16_t* name) const {
  const Value& object = AsValue(value_);
  // FindMember gives the first member of that name; names match exactly.
  const std::string key = Utf16ToUtf8(name);
  const auto found = object.FindMember(Value(rapidjson::StringRef(key.c_str(), key.size())));
  return found == object.MemberEnd() ? nullptr : &found->value;
}

ustring TBridgeObject::ReadOptionalText(const char16_t* name, const ustring& defaultValue) const {
  const void* member = Member(name);
  if (!member || AsValue(member).IsNull()) return defaultValue;
  return TextOf(AsValue(member), name);
}

ustring TBridgeObject::ReadRequiredText(const char16_t* name) const {
  const void* member = Member(name);
  if (!member) throw EBridgeError("Member \"" + NameOf(name) + "\" is missing");
  return TextOf(AsValue(member), name);
}

TBridgeObject TBridgeObject::ReadRequiredObject(const char16_t* name) const {
  const void* member = Member(name);
  if (!member) throw EBridgeError("Member \"" + NameOf(name) + "\" is missing");
  if (!AsValue(member).IsObject()) throw EBridgeError("Member \"" + NameOf(name) + "\" is not an object");
  return TBridgeObject(member);
}

bool TBridgeObject::ReadOptionalBoolean(const char16_t* name, bool defaultValue) const {
  const void* member = Member(name);
  if (!member || AsValue(member).IsNull()) return defaultValue;
  const Value& value = AsValue(member);
  if (value.IsBool()) return value.GetBool();
  if (value.IsString()) {
    if (auto converted = BridgeTextToBoolean(TextOf(value, name))) return *converted;
    throw EBridgeError("Member \"" + NameOf(name) + "\" is not a Boolean value");
  }
  throw EBridgeError("Member \"" + NameOf(name) + "\" is not a Boolean value");
}

std::optional<int32_t> BridgeTextToInt32(const ustring& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<bool> BridgeTextToBoolean(const ustring& text) {
  const ustring folded = FoldAscii(text);
  if (folded == u"true") return true;
  if (folded == u"false") return false;
  const std::string narrow = Utf16ToUtf8(text);
  if (narrow.empty() || narrow.find_first_not_of("0123456789+-.eE") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double number = std::strtod(narrow.c_str(), &end);
  if (end != narrow.c_str() + narrow.size() || std::isnan(number)) return std::nullopt;
  return number != 0;
}

}  // namespace vantrel
