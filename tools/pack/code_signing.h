#pragma once
// Authenticode signing of the packed program with osslsigncode. A signature
// covers the whole file, so it is added last, after the package.
#include <string>

namespace vantrel::pack {

struct SigningKeys {
  std::string certificatePath;  // PEM or DER certificate (chain)
  std::string keyPath;          // its private key
  bool Empty() const { return certificatePath.empty() && keyPath.empty(); }
};

// Checks before packing that both files are given and exist and that
// osslsigncode can be run; throws EVantrelError saying what is missing.
void CheckSigningKeys(const SigningKeys& keys);

// Signs `exePath` in place (through a temporary file beside it).
void SignProgram(const std::string& exePath, const SigningKeys& keys);

}  // namespace vantrel::pack
