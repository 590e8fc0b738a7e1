#include "core/registration_script.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/class_scripts.h"
#include "core/status.h"
#include "expected_class_tree.h"
#include "memory_registry.h"

namespace qm {
namespace {

using testing::MemoryRegistry;

constexpr char kPath[] = "C:\\Program Files\\Quorvane\\QuorvaneMarrowby.dll";

ReplacementMap ModuleReplacements(const char* friendly_name = "Name") {
  ReplacementMap map;
  for (const auto& [name, value] : {std::pair{"Module", kPath}, {"Module_Raw", kPath},
                                    {"MODULEGUID", testing::kLibraryId.c_str()}, {"MODULETYPE", "InprocServer32"},
                                    {"APPID", ""}, {"FriendlyName", friendly_name}})
    map.Add(name, value);
  return map;
}

Status RunScript(MemoryRegistry& registry, const RegistrationScript& script, bool register_keys,
                 const ReplacementMap& map = ModuleReplacements()) {
  try {
    RunRegistrationScript(registry, map, script, register_keys);
    return status::Ok;
  } catch (const CAtlException& e) {
    return e.status();
  }
}

std::vector<std::string> ClassTree(const MemoryRegistry& registry, const testing::ClassNames& names) {
  std::vector<std::string> tree;
  for (const std::string& key : {names.versioned, names.prog_id, "CLSID\\" + names.clsid})
    for (std::string& line : registry.Dump("HKCR\\" + key)) tree.push_back(std::move(line));
  return tree;
}

TEST(ClassScripts, WriteTheClassTreeAlikeTwiceAndRemoveItWhateverIsMissing) {
  for (const auto& [script, names] : {std::pair{&kDirectoryClassScript, testing::kDirectoryClass},
                                      std::pair{&kFolderClassScript, testing::kFolderClass}}) {
    SCOPED_TRACE(names.friendly_name);
    const std::string other_class = "HKCR\\CLSID\\{00000000-0000-0000-0000-000000000001}";
    const std::vector<std::string> tree = testing::ExpectedClassTree(names, kPath);
    MemoryRegistry registry;
    registry.keys[other_class]["@"] = "another class";
    const ReplacementMap map = ModuleReplacements(names.friendly_name);
    ASSERT_EQ(RunScript(registry, *script, true, map), status::Ok);
    EXPECT_EQ(ClassTree(registry, names), tree);

    // What an earlier registration left under the class key goes.
    registry.keys["HKCR\\CLSID\\" + names.clsid + "\\LocalServer32"]["@"] = "C:\\old.exe";
    registry.keys["HKCR\\CLSID\\" + names.clsid]["Stale"] = "x";
    ASSERT_EQ(RunScript(registry, *script, true, map), status::Ok);
    EXPECT_EQ(ClassTree(registry, names), tree);

    // Unregistering keeps HKCR\CLSID and other classes, also with keys already gone.
    registry.keys.erase("HKCR\\" + names.versioned + "\\CLSID");
    registry.keys.erase("HKCR\\" + names.versioned);
    for (int run = 0; run < 2; ++run) {
      ASSERT_EQ(RunScript(registry, *script, false, map), status::Ok);
      EXPECT_EQ(ClassTree(registry, names), std::vector<std::string>{});
      EXPECT_EQ(registry.Dump("HKCR\\CLSID"),
                (std::vector<std::string>{"HKCR\\CLSID", other_class, other_class + " @ = another class"}));
    }
    EXPECT_TRUE(registry.handles.empty());
  }
}

TEST(ClassScripts, RegistryErrorsEndTheRunWithTheirStatus) {
  struct Row {
    bool register_keys;
    const char* operation;
    std::uint32_t error;
    Status expected;
  };
  const Row rows[] = {
      {true, "Create", 5, static_cast<Status>(0x80070005)},
      {true, "SetValue", 1117, static_cast<Status>(0x8007045D)},
      {true, "Open", 1117, status::Ok},  // opening falls back to creating
      // A class key that cannot be replaced is not reported written.
      {true, "Delete", 5, static_cast<Status>(0x80070005)},
      {true, "Enum", 1117, static_cast<Status>(0x8007045D)},
      {false, "Open", 5, static_cast<Status>(0x80070005)},
      {false, "Delete", 5, static_cast<Status>(0x80070005)},
      {false, "Delete", 2, status::Ok},
      {false, "Enum", 1117, static_cast<Status>(0x8007045D)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.register_keys ? "register, " : "unregister, ") + row.operation + " " +
                 std::to_string(row.error));
    MemoryRegistry registry;
    ASSERT_EQ(RunScript(registry, kDirectoryClassScript, true), status::Ok);
    registry.faults[row.operation] = row.error;
    EXPECT_EQ(RunScript(registry, kDirectoryClassScript, row.register_keys), row.expected);
    EXPECT_TRUE(registry.handles.empty());
  }
}

TEST(RegistrationScript, WritesEveryValueKindAndKeepsNeverRemovedKeys) {
  static constexpr ScriptString strings[] = {
      {"", 0},    {"Root", 0}, {"multi", 0}, {"a\\0b\\0", 0}, {"dw", 0},  {"%Number%", kExpandMarkers},
      {"bin", 0}, {"0aFF", 0}, {"Kept", 0},  {"Child", 0},    {"raw", 0}, {"Kept value", 0},
  };
  static constexpr ScriptDword dwords[] = {{7, 0}, {5, kExpandMarkers}};
  static constexpr std::uint8_t raw[] = {1, 2};
  static constexpr ScriptBinary binaries[] = {{nullptr, 0, kExpandMarkers, 7}, {raw, 2, 0, 0}};
  static constexpr std::uint32_t tokens[] = {
      0x70004000,                                      // HKEY_CURRENT_USER
      0x10020000, 0x30020000, 0x50000000, 0x8002C00B,  // never removed: Kept { "Kept value", Child { } }
      0x30024000, 0x50000000, 0x60000000, 0x60000000,  //
      0x30004000, 0x50000000,                          // Root {
      0x90008003, 0xA0010000, 0xA0010001,              //   multi, dw (twice: the last wins)
      0xB0018000, 0xB0028001,                          //   bin, raw
      0x60000000, 0x60000000, 0x00000000,              // }
  };
  ReplacementMap map;
  map.Add("Number", "4294967295");
  MemoryRegistry registry;
  ASSERT_EQ(RunScript(registry, {tokens, strings, dwords, binaries}, true, map), status::Ok);
  const std::vector<std::string> kept = {"HKCU\\Kept", "HKCU\\Kept Kept value = Kept value", "HKCU\\Kept\\Child"};
  std::vector<std::string> all = {"HKCU"};
  all.insert(all.end(), kept.begin(), kept.end());
  all.insert(all.end(), {"HKCU\\Root", "HKCU\\Root bin = hex:0aff", "HKCU\\Root dw = dword:4294967295",
                         "HKCU\\Root multi = multi:a|b||", "HKCU\\Root raw = hex:0102"});
  EXPECT_EQ(registry.Dump("HKCU"), all);
  ASSERT_EQ(RunScript(registry, {tokens, strings, dwords, binaries}, false, map), status::Ok);
  EXPECT_EQ(registry.Dump("HKCU"), (std::vector<std::string>{"HKCU", kept[0], kept[1]}));
  EXPECT_TRUE(registry.handles.empty());
}

TEST(RegistrationScript, MalformedScriptsAreRefused) {
  static constexpr ScriptString strings[] = {{"", 0}, {"Key", 0}, {"%Unknown%", kExpandMarkers}, {"abc", 0},
                                             {"12x", 0}};
  static constexpr ScriptDword dwords[] = {{4, kExpandMarkers}};
  static constexpr ScriptBinary binaries[] = {{nullptr, 0, kExpandMarkers, 3}};
  const std::vector<std::uint32_t> rows[] = {
      {0x30004000, 0},                          // no root first
      {0x70000000, 0x30008000, 0},              // a key name that does not expand
      {0x70000000, 0x30014000, 0},              // a string beyond the table
      {0x70000000, 0x40000000, 0},              // an opcode without a meaning
      {0x70000000, 0x70000000, 0},              // a second root
      {0x70000000, 0x30004000, 0xB0004000, 0},  // hexadecimal text of odd length
      {0x70000000, 0x30004000, 0xA0004000, 0},  // a number with a letter
      {0x70000000, 0x30004000, 0xA0004001, 0},  // a DWORD entry beyond the table
      {0x70000000, 0x60000000, 0x30004000, 0},  // a key after the root's end
  };
  for (const auto& tokens : rows) {
    SCOPED_TRACE(::testing::PrintToString(tokens));
    MemoryRegistry registry;
    EXPECT_EQ(RunScript(registry, {tokens, strings, dwords, binaries}, true, {}), status::Fail);
    EXPECT_TRUE(registry.handles.empty());
  }
  MemoryRegistry registry;
  EXPECT_EQ(RunScript(registry, {{}, strings}, true), status::InvalidArg);
}

TEST(ReplacementMarkers, ExpandByNameWithoutRegardToCase) {
  ReplacementMap map;
  for (const auto& [name, value] : {std::pair{std::string("Module"), "C:\\a.dll"}, {"MODULE", "second"},
                                    {"Empty", ""}, {std::string(31, 'n'), "31"}, {std::string(32, 'n'), "32"}})
    map.Add(name, value);
  const LeadBytePredicate lead = [](unsigned char byte) { return byte == 0x81; };
  struct Row {
    std::string text;
    std::optional<std::string> expected;  // nothing: E_FAIL
    LeadBytePredicate is_lead_byte = nullptr;
  };
  const Row rows[] = {
      {"x%mODULE%y%EMPTY%z", "xC:\\a.dllyz"},
      {"100%% %%Module%%", "100% %Module%"},
      {"%" + std::string(31, 'N') + "%", "31"},
      {"%" + std::string(32, 'n') + "%", std::nullopt},
      {"%Unknown%", std::nullopt},
      {"50%", std::nullopt},
      {"\x81%x", "\x81%x", lead},  // the percent sign is a trail byte
      {"\x81%x", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    try {
      EXPECT_EQ(std::optional(ExpandMarkers(row.text, map, row.is_lead_byte)), row.expected);
    } catch (const CAtlException& e) {
      EXPECT_EQ(std::optional<std::string>(), row.expected);
      EXPECT_EQ(e.status(), status::Fail);
    }
  }
}

}  // namespace
}  // namespace qm
