// Icon and version edits on copies of the built program.
//   exe_resources_test.exe <VantrelRuntime.exe> <program without icon or version> <work folder>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/win32/win_text.h"
#include "shared/util/exe_resources.h"
#include "shared/util/pe_resources.h"
#include "tests/win32/check.h"

using namespace vantrel;

namespace {

constexpr uint16_t kIcon = 3, kGroupIcon = 14, kVersion = 16;

std::vector<uint8_t> Read(const ustring& path) {
  std::ifstream in(std::filesystem::path(win32::W(path)), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void Write(const ustring& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(std::filesystem::path(win32::W(path)), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put16(std::vector<uint8_t>& b, uint16_t v) { b.push_back(v & 0xFF), b.push_back(v >> 8); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// An icon file whose images are the given byte strings (not real pictures:
// the edit copies bytes, it does not decode them).
std::vector<uint8_t> IconFile(const std::vector<std::vector<uint8_t>>& images, uint16_t reserved = 0, uint16_t type = 1) {
  std::vector<uint8_t> file;
  Put16(file, reserved), Put16(file, type), Put16(file, static_cast<uint16_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<uint8_t>(16 * (i + 1))), file.push_back(static_cast<uint8_t>(16 * (i + 1)));
    file.push_back(0), file.push_back(0);
    Put16(file, 1), Put16(file, 32);
    Put32(file, static_cast<uint32_t>(images[i].size())), Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

std::vector<const TPeResource*> OfType(const std::vector<TPeResource>& all, uint16_t type) {
  std::vector<const TPeResource*> found;
  for (const auto& r : all)
    if (r.typeId == type) found.push_back(&r);
  return found;
}

const TVersionNode* ValueNode(const TVersionNode& root, const std::u16string& key) {
  for (const auto& block : root.children)
    for (const auto& table : block.children)
      for (const auto& value : table.children)
        if (value.key == key) return &value;
  return nullptr;
}

// Whether UpdateResourceW with no data removes a resource here (Wine 8
// accepts the call but keeps the resource).
bool PlatformDeletesResources(const ustring& scratch) {
  HANDLE update = BeginUpdateResourceW(win32::W(scratch), FALSE);
  if (!update) return false;
  UpdateResourceW(update, RT_VERSION, MAKEINTRESOURCEW(1), 0x0409, nullptr, 0);
  if (!EndUpdateResourceW(update, FALSE)) return false;
  for (const auto& r : ReadPeResources(Read(scratch)))
    if (r.typeId == kVersion && r.language == 0x0409) return false;
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wintest::Checker c{"exe resources"};
  if (argc != 4) {
    c.Check(false, "usage: runtime exe, exe without resources, work folder");
    return c.Finish();
  }
  const ustring runtime = win32::FromW(argv[1]), plain = win32::FromW(argv[2]), work = win32::FromW(argv[3]) + u"\\";
  const std::vector<uint8_t> original = Read(runtime);
  const ustring exe = work + u"copy.exe", ico = work + u"icon.ico";
  const auto fresh = [&] { Write(exe, original); };

  // Three images replace the runtime's group; ids 1..3, nothing old left.
  {
    fresh();
    const auto before = ReadPeResources(original);
    const auto* oldGroup = OfType(before, kGroupIcon).at(0);
    const std::vector<std::vector<uint8_t>> images = {{1, 2, 3}, std::vector<uint8_t>(300, 7), {9}};
    Write(ico, IconFile(images, 0x5A5A, 2));
    TExeResources::ChangeExeIcon(exe, ico);
    const auto after = ReadPeResources(Read(exe));
    const auto groups = OfType(after, kGroupIcon);
    c.Check(groups.size() == 1 && groups[0]->name == u"MAINICON" && groups[0]->language == 0x0409, "one group MAINICON in 1033");
    const auto& g = groups.at(0)->data;
    c.Check(g.size() == 6 + 14 * 3 && g[4] == 3, "group of 3 entries");
    c.Check(std::equal(g.begin(), g.begin() + 4, oldGroup->data.begin()), "reserved and type copied from the old group");
    std::set<uint16_t> ids;
    bool dataMatches = true;
    for (const auto* icon : OfType(after, kIcon)) {
      ids.insert(icon->nameId);
      if (icon->nameId >= 1 && icon->nameId <= images.size())
        dataMatches = dataMatches && icon->language == 0x0409 && icon->data == images[icon->nameId - 1];
    }
    std::set<uint16_t> expected = {1, 2, 3};
    Write(work + u"probe.exe", original);
    if (!PlatformDeletesResources(work + u"probe.exe")) {
      // The old images 4..6 stay behind on such a platform; nothing refers to them.
      std::printf("note: this platform's UpdateResourceW does not delete resources; old icons 4..6 are not checked\n");
      expected.insert({4, 5, 6});
    }
    c.Check(ids == expected, "icons 1, 2, 3 and no old icon besides them");
    c.Check(dataMatches, "each icon holds its image bytes, in 1033");
    for (int i = 0; i < 3; ++i) c.Check(g[6 + 14 * i + 12] == i + 1, "entry " + std::to_string(i) + " names icon " + std::to_string(i + 1));
    c.Check(OfType(after, kVersion).size() == 1, "other resources kept");
  }

  // The size limit is inclusive.
  {
    fresh();
    std::vector<uint8_t> exact = IconFile({std::vector<uint8_t>(1048576 - 22, 1)});
    Write(ico, exact);
    bool passed = true;
    try {
      TExeResources::ChangeExeIcon(exe, ico);
    } catch (const std::exception&) {
      passed = false;
    }
    c.Check(exact.size() == 1048576 && passed, "an icon file of 1,048,576 bytes passes");
    fresh();
    Write(ico, IconFile({std::vector<uint8_t>(1048576 - 21, 1)}));
    c.Throws([&] { TExeResources::ChangeExeIcon(exe, ico); }, "Icon file is too large", "one byte more");
    c.Check(Read(exe) == original, "a too large icon leaves the program unchanged");
  }

  // Malformed icon files never touch the program.
  {
    std::vector<uint8_t> shortDirectory = IconFile({{1, 2}, {3}});
    shortDirectory.resize(6 + 16);
    std::vector<uint8_t> pastEnd = IconFile({{1, 2, 3, 4}});
    pastEnd.pop_back();
    std::vector<uint8_t> wraps = IconFile({{1}});
    wraps[18] = wraps[19] = wraps[20] = wraps[21] = 0xFF;
    const std::pair<const char*, std::vector<uint8_t>> bad[] = {
        {"5-byte file", {0, 0, 1, 0, 1}},
        {"MZ file", {'M', 'Z', 0, 0, 0, 0, 0, 0}},
        {"short directory", shortDirectory},
        {"image past the end", pastEnd},
        {"offset wrapping 32 bits", wraps},
    };
    for (const auto& [what, bytes] : bad) {
      fresh();
      Write(ico, bytes);
      c.Throws([&] { TExeResources::ChangeExeIcon(exe, ico); }, "Icon file is invalid", what);
      c.Check(Read(exe) == original, std::string(what) + ": program unchanged");
    }
  }

  // A program without MAINICON.
  {
    const std::vector<uint8_t> plainBytes = Read(plain);
    const ustring copy = work + u"plain.exe";
    Write(copy, plainBytes);
    Write(ico, IconFile({{1, 2, 3}}));
    c.Throws([&] { TExeResources::ChangeExeIcon(copy, ico); }, "FindResource failed (1)", "no MAINICON");
    c.Check(Read(copy) == plainBytes, "program without MAINICON unchanged");
    TExeVersionTexts texts;
    c.Check(!TExeResources::UpdateExeInfo(copy, texts), "no version information: false");
    c.Check(Read(copy) == plainBytes, "no version information: unchanged");
  }

  // Version texts, written in place into the slots.
  {
    fresh();
    TExeVersionTexts texts;
    texts.CompanyName = u"";
    texts.FileDescription = u"Demo of 100% packaged pages";
    texts.FileVersion = u"1.0.0.1";
    texts.OriginalFileName = u"Demo.exe";
    texts.ProductName = std::u16string(255, u'x');
    texts.ProductVersion = u"2.5";
    texts.Comments = u"%s %d";
    c.Check(TExeResources::UpdateExeInfo(exe, texts), "update committed");
    const auto after = ReadPeResources(Read(exe));
    const auto versions = OfType(after, kVersion);
    std::set<uint16_t> languages;
    const TPeResource* neutral = nullptr;
    for (const auto* v : versions) {
      languages.insert(v->language);
      if (v->language == 0) neutral = v;
    }
    c.Check(versions.size() == 2 && languages == std::set<uint16_t>{0, 0x0409}, "two version resources with id 1 (0 and 1033)");
    const auto* untouched = versions.size() == 2 ? (versions[0] == neutral ? versions[1] : versions[0]) : nullptr;
    const auto originalResources = ReadPeResources(original);
    const auto* originalVersion = OfType(originalResources, kVersion).at(0);
    c.Check(untouched && untouched->data == originalVersion->data, "the 1033 block is unchanged");
    if (neutral) {
      const auto root = ParseVersionBlock(neutral->data);
      const auto slot = [&](const std::u16string& key) {
        const auto* node = ValueNode(root, key);
        return node ? node->Text() : std::u16string(u"<missing>");
      };
      c.Check(slot(u"CompanyName") == std::u16string(256, u'\0'), "empty text: slot all zero");
      c.Check(slot(u"FileVersion") == std::u16string(u"1.0.0.1") + u'\0', "FileVersion 1.0.0.1");
      c.Check(slot(u"ProductVersion") == std::u16string(u"2.5") + std::u16string(5, u'\0'), "ProductVersion 2.5, rest zero");
      c.Check(slot(u"OriginalFilename").substr(0, 9) == std::u16string(u"Demo.exe") + u'\0', "OriginalFileName finds OriginalFilename");
      c.Check(slot(u"FileDescription").substr(0, 28) == std::u16string(u"Demo of 100% packaged pages") + u'\0', "percent signs stored as written");
      c.Check(slot(u"Comments").substr(0, 6) == std::u16string(u"%s %d") + u'\0', "format characters stored as written");
      c.Check(slot(u"ProductName") == std::u16string(255, u'x') + u'\0', "255 characters fill the slot");
      c.Check(root.value.size() == 52 && root.value[8] == 0 && root.value[10] == 1, "fixed file version still 1.0.0.0");
    }
  }

  // A text longer than its slot is refused: nothing written.
  {
    fresh();
    TExeVersionTexts texts;
    texts.FileVersion = u"10.20.30.40";
    c.Check(!TExeResources::UpdateExeInfo(exe, texts), "FileVersion of 11 characters: false");
    c.Check(Read(exe) == original, "FileVersion too long: unchanged");
    texts = {};
    texts.Comments = std::u16string(256, u'y');
    c.Check(!TExeResources::UpdateExeInfo(exe, texts), "256 characters: false");
    c.Check(Read(exe) == original, "256 characters: unchanged");
    c.Check(!TExeResources::UpdateExeInfo(work + u"missing.exe", texts), "missing file: false");
  }
  return c.Finish();
}
