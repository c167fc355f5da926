#pragma once
// The values start-up leaves behind: written once while the program starts,
// only read afterwards, freed when the process ends.
#include <memory>

#include "platform/ustring.h"
#include "shared/util/exe_utils.h"
#include "shared/util/mem_ini_file.h"
#include "shared/util/zip_archive.h"

namespace vantrel {

// Password of every package; the same for all packaged applications.
inline constexpr char kPackagePassword[] = "tqzm7wavpe1kxcyh5bfl2gujrs8dmw6hqa0z";

// Name of the configuration section all keys live in.
inline constexpr char16_t kAppSection[] = u"App";

struct TStartupValues {
  std::unique_ptr<TExeUtils> ExeUtils;
  std::unique_ptr<TZipArchive> ExeZip;
  std::unique_ptr<TMemIniFile> ProjectINI;
  ustring AppID;
  ustring AppName;
  ustring AppDirName;
  ustring AppIndexHtml;
  ustring AppDataDirPath;   // ends with a backslash
  ustring WebView2DirPath;  // ends with a backslash
};

// The process's start-up values.
TStartupValues& Startup();

}  // namespace vantrel
