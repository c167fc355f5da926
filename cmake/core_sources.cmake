# The portable core: builds for Linux and for Windows alike.
set(VANTREL_CORE_SOURCES
  platform/ustring.cpp
  shared/util/pe_image.cpp
  shared/util/exe_utils.cpp
  shared/util/zip_archive.cpp
  shared/util/text_file.cpp
  shared/util/mem_ini_file.cpp
  shared/edge/edge_loader_path.cpp
  shared/edge/edge_browser.cpp
  runtime/localized_messages.cpp
  runtime/startup_values.cpp
  runtime/exe_zip_loader.cpp
  shared/util/command_line.cpp
)
