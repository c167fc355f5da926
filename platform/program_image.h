#pragma once
// What the package operations need to know about the running program.
#include <cstdint>
#include <optional>

#include "platform/ustring.h"

namespace vantrel {

class IProgramImage {
 public:
  virtual ~IProgramImage() = default;
  // Full path of the running program's file.
  virtual ustring ExePath() const = 0;
  // End of the running program's PE image, from the headers the system
  // loader mapped (see PeImageEnd).
  virtual uint32_t ImageEnd() const = 0;
  // File offset of the program's Authenticode certificate table, when it is
  // signed: a signature added after packing follows the package.
  virtual std::optional<uint32_t> CertificateTableOffset() const { return std::nullopt; }
  // A plain system error box owned by the active window.
  virtual void ShowPlainErrorBox(const ustring& text, const ustring& title) const = 0;
};

}  // namespace vantrel
