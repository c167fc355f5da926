#pragma once
// Reading the members of a bridge call: one parsed message tree and the
// conversions every command relies on (numbers keep their literal text).
#include <memory>
#include <optional>

#include "platform/errors.h"
#include "platform/ustring.h"

namespace vantrel {

class EBridgeError : public EVantrelError {
 public:
  using EVantrelError::EVantrelError;
};

// A JSON object of a parsed call; valid while its TBridgeMessage lives.
class TBridgeObject {
 public:
  // Absent or null give the default; string, number and true/false give their
  // text; an object or array raises EBridgeError.
  ustring ReadOptionalText(const char16_t* name, const ustring& defaultValue = {}) const;
  // Absent raises; null gives empty text; otherwise as ReadOptionalText.
  ustring ReadRequiredText(const char16_t* name) const;
  // Anything but an object (an array included) raises.
  TBridgeObject ReadRequiredObject(const char16_t* name) const;
  // Absent or null give the default; true/false as they are; a string or a
  // number converts as a Boolean text ("true"/"false" in any case, or a
  // number: zero is false); anything else raises.
  bool ReadOptionalBoolean(const char16_t* name, bool defaultValue) const;

 private:
  friend class TBridgeMessage;
  explicit TBridgeObject(const void* value) : value_(value) {}
  const void* Member(const char16_t* name) const;
  const void* value_;  // a rapidjson value of the message's document
};

// One message's tree. Parsing never raises: a malformed text gives no tree,
// and reading from it raises.
class TBridgeMessage {
 public:
  explicit TBridgeMessage(const ustring& json);
  ~TBridgeMessage();
  TBridgeMessage(const TBridgeMessage&) = delete;
  TBridgeMessage& operator=(const TBridgeMessage&) = delete;

  // The root as an object; raises when the text was not a JSON object.
  TBridgeObject Root() const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
};

// The 32-bit signed integer written in `text` (an optional sign and decimal
// digits, nothing else), if it is one.
std::optional<int32_t> BridgeTextToInt32(const ustring& text);

// "true"/"false" in any letter case, or a number (zero is false).
std::optional<bool> BridgeTextToBoolean(const ustring& text);

}  // namespace vantrel
