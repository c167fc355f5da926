// The configuration reader: any bytes as vtl.ini (decoded by its byte-order
// mark), every kind of value read.
#include <cstddef>
#include <cstdint>

#include "shared/util/mem_ini_file.h"
#include "shared/util/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  TMemIniFile ini;
  ini.SetStrings(SplitLines(DecodeTextWithBom(data, size)));
  for (const ustring& key : ini.KeyNames(u"App")) {
    ini.ReadString(u"App", key, u"");
    ini.ReadInteger(u"App", key, 7);
    ini.ReadBool(u"App", key, true);
    ini.ReadColor(u"App", key, 0xFF00001Au);
  }
  ini.SectionExists(u"App");
  return 0;
}
