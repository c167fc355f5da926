#include "shared/util/exe_resource_edits.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "shared/util/icon_file.h"
#include "shared/util/pe_resources.h"

namespace vantrel {

namespace {
constexpr uint16_t kIcon = 3, kGroupIcon = 14, kVersion = 16, kLanguage1033 = 0x0409;

bool IsNamed(const TPeResource& r, uint16_t type, const std::u16string& name) {
  return r.typeName.empty() && r.typeId == type && SameTextIgnoringCase(r.name, name);
}
bool IsNumbered(const TPeResource& r, uint16_t type, uint16_t id) {
  return r.typeName.empty() && r.typeId == type && r.name.empty() && r.nameId == id;
}

// Removes the first resource that matches (the one the first language names).
template <typename Match>
void RemoveFirst(std::vector<TPeResource>& resources, Match match) {
  const auto found = std::find_if(resources.begin(), resources.end(), match);
  if (found != resources.end()) resources.erase(found);
}

// Adds or replaces the resource of the same type, name and language.
void Put(std::vector<TPeResource>& resources, TPeResource resource) {
  RemoveFirst(resources, [&](const TPeResource& r) {
    return r.typeName == resource.typeName && r.typeId == resource.typeId && r.name == resource.name &&
           r.nameId == resource.nameId && r.language == resource.language;
  });
  resources.push_back(std::move(resource));
}

const TVersionNode* Child(const TVersionNode& node, const std::u16string& key) {
  for (const auto& child : node.children)
    if (SameTextIgnoringCase(child.key, key)) return &child;
  return nullptr;
}
}  // namespace

void ChangeIconInImage(std::vector<uint8_t>& exe, const std::vector<uint8_t>& icon) {
  if (icon.size() > kMaxIconFileSize) throw EResourceError("Icon file is too large");
  const std::vector<TIconImageEntry> entries = ParseIconFile(icon);
  std::vector<TPeResource> resources = ReadPeResources(exe);
  const auto group = std::find_if(resources.begin(), resources.end(),
                                  [](const TPeResource& r) { return IsNamed(r, kGroupIcon, u"MAINICON"); });
  if (group == resources.end()) throw EResourceError("FindResource failed (1)");
  const TIconGroup old = ParseIconGroup(group->data.data(), group->data.size());
  resources.erase(group);
  for (const uint16_t id : old.IconIds)
    RemoveFirst(resources, [id](const TPeResource& r) { return IsNumbered(r, kIcon, id); });
  for (size_t i = 0; i < entries.size(); ++i) {
    TPeResource image;
    image.typeId = kIcon;
    image.nameId = static_cast<uint16_t>(i + 1);
    image.language = kLanguage1033;
    const auto from = icon.begin() + entries[i].ImageOffset;
    image.data.assign(from, from + entries[i].BytesInImage);
    Put(resources, std::move(image));
  }
  TPeResource newGroup;
  newGroup.typeId = kGroupIcon;
  newGroup.name = u"MAINICON";
  newGroup.language = kLanguage1033;
  newGroup.data = BuildIconGroup(old.Reserved, old.Type, entries);
  Put(resources, std::move(newGroup));
  std::vector<uint8_t> edited = exe;
  ReplacePeResources(edited, resources);
  exe = std::move(edited);
}

bool UpdateVersionInImage(std::vector<uint8_t>& exe, const TExeVersionTexts& texts) {
  std::vector<TPeResource> resources = ReadPeResources(exe);
  // As the system looks it up: the neutral block first, else the first one.
  const TPeResource* source = nullptr;
  for (const auto& r : resources)
    if (IsNumbered(r, kVersion, 1) && (!source || (r.language == 0 && source->language != 0))) source = &r;
  if (!source || source->data.size() < 6) return false;
  std::vector<uint8_t> block = source->data;
  block.resize(std::min<size_t>(block.size(), block[0] | (block[1] << 8)));
  TVersionNode root;
  try {
    root = ParseVersionBlock(block);
  } catch (const EVantrelError&) {
    return false;
  }


  const TVersionNode* variables = Child(root, u"VarFileInfo");
  const TVersionNode* translation = variables ? Child(*variables, u"Translation") : nullptr;
  const TVersionNode* strings = Child(root, u"StringFileInfo");
  for (size_t t = 0; translation && t + 4 <= translation->value.size(); t += 4) {
    const auto& v = translation->value;
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", v[t] | (v[t + 1] << 8), v[t + 2] | (v[t + 3] << 8));
    const TVersionNode* table = strings ? Child(*strings, Utf8ToUtf16(key)) : nullptr;
    if (!table) continue;
    for (const auto& [name, field] : VersionTextFields()) {
      const ustring* text = &(texts.*field);
      const TVersionNode* slot = Child(*table, name);
      if (!slot || slot->type != 1) continue;
      if (slot->valueLength == 0 || text->size() > slot->valueLength - 1u) return false;
      std::fill(block.begin() + slot->valueOffset, block.begin() + slot->valueOffset + 2 * slot->valueLength, 0);
      for (size_t i = 0; i < text->size(); ++i) {
        block[slot->valueOffset + 2 * i] = static_cast<uint8_t>((*text)[i]);
        block[slot->valueOffset + 2 * i + 1] = static_cast<uint8_t>((*text)[i] >> 8);
      }
    }
  }
  TPeResource neutral;
  neutral.typeId = kVersion;
  neutral.nameId = 1;
  neutral.language = 0;
  neutral.data = std::move(block);
  Put(resources, std::move(neutral));
  std::vector<uint8_t> edited = exe;
  ReplacePeResources(edited, resources);
  exe = std::move(edited);
  return true;
}

}  // namespace vantrel
