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

ReplacementMap ModuleReplacements(const char* friendly_name) {
  ReplacementMap map;
  map.Add("Module", kPath);
  map.Add("Module_Raw", kPath);
  map.Add("MODULEGUID", testing::kLibraryId);
  map.Add("MODULETYPE", "InprocServer32");
  map.Add("APPID", "");
  map.Add("FriendlyName", friendly_name);
  return map;
}

Status RunScript(MemoryRegistry& registry, const RegistrationScript& script, bool register_keys,
           const ReplacementMap& map = ModuleReplacements("Name")) {
  try {
    RunRegistrationScript(registry, map, script, register_keys);
    return status::Ok;
  } catch (const CAtlException& e) {
    return e.status();
  }
}

struct ClassRow {
  const RegistrationScript* script;
  const testing::ClassNames& names;
};

const ClassRow kClasses[] = {{&kDirectoryClassScript, testing::kDirectoryClass},
                             {&kFolderClassScript, testing::kFolderClass}};

std::vector<std::string> ClassTree(MemoryRegistry& registry, const testing::ClassNames& names) {
  std::vector<std::string> tree;
  for (const std::string& key : {names.versioned, names.prog_id, "CLSID\\" + names.clsid})
    for (std::string& line : registry.Dump("HKCR\\" + key)) tree.push_back(std::move(line));
  return tree;
}

TEST(ClassScripts, RegisteringWritesTheClassTreeAndAgainReplacesTheClassKey) {
  for (const ClassRow& row : kClasses) {
    SCOPED_TRACE(row.names.friendly_name);
    const std::string other_class = "HKCR\\CLSID\\{00000000-0000-0000-0000-000000000001}";
    MemoryRegistry registry;
    registry.SetString(other_class, "", "another class");
    const ReplacementMap map = ModuleReplacements(row.names.friendly_name);
    ASSERT_EQ(RunScript(registry, *row.script, true, map), status::Ok);
    EXPECT_EQ(ClassTree(registry, row.names), testing::ExpectedClassTree(row.names, kPath));

    // What an earlier registration left under the class key goes; other classes stay.
    registry.SetString("HKCR\\CLSID\\" + row.names.clsid + "\\LocalServer32", "", "C:\\old.exe");
    registry.SetString("HKCR\\CLSID\\" + row.names.clsid, "Stale", "x");
    ASSERT_EQ(RunScript(registry, *row.script, true, map), status::Ok);
    EXPECT_EQ(ClassTree(registry, row.names), testing::ExpectedClassTree(row.names, kPath));
    EXPECT_TRUE(registry.HasKey(other_class));
    EXPECT_EQ(registry.OpenHandles(), 0);
  }
}

TEST(ClassScripts, UnregisteringRemovesOnlyTheClassKeysAndSkipsMissingOnes) {
  MemoryRegistry registry;
  for (const ClassRow& row : kClasses)
    ASSERT_EQ(RunScript(registry, *row.script, true, ModuleReplacements(row.names.friendly_name)), status::Ok);
  const auto& [directory_script, directory] = kClasses[0];
  const auto& [folder_script, folder] = kClasses[1];

  ASSERT_EQ(RunScript(registry, *directory_script, false), status::Ok);
  EXPECT_EQ(ClassTree(registry, directory), std::vector<std::string>{});
  EXPECT_EQ(ClassTree(registry, folder), testing::ExpectedClassTree(folder, kPath));
  EXPECT_EQ(registry.OpenHandles(), 0);
  // Again, with everything gone: nothing to do and no error.
  EXPECT_EQ(RunScript(registry, *directory_script, false), status::Ok);

  // Part of the tree gone by hand: the rest is still removed, the CLSID key stays.
  ASSERT_EQ(DeleteKeyTree(registry, registry.PredefinedKey(0), folder.versioned), 0u);
  ASSERT_EQ(RunScript(registry, *folder_script, false), status::Ok);
  EXPECT_EQ(ClassTree(registry, folder), std::vector<std::string>{});
  EXPECT_EQ(registry.Dump("HKCR\\CLSID"), std::vector<std::string>{"HKCR\\CLSID"});
  EXPECT_EQ(registry.OpenHandles(), 0);
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
      // Replacing the class key: what cannot be removed is not reported written.
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
    const ReplacementMap map = ModuleReplacements("Name");
    ASSERT_EQ(RunScript(registry, kDirectoryClassScript, true, map), status::Ok);
    registry.FailNext(row.operation, row.error);
    EXPECT_EQ(RunScript(registry, kDirectoryClassScript, row.register_keys, map), row.expected);
    EXPECT_EQ(registry.OpenHandles(), 0);
  }
}

TEST(RegistrationScript, WritesEveryValueKindAndKeepsNeverRemovedKeys) {
  static constexpr ScriptString strings[] = {
      {"", 0},       {"Root", 0}, {"multi", 0}, {"a\\0b\\0", 0}, {"dw", 0},   {"%Number%", kExpandMarkers},
      {"bin", 0},    {"0aFF", 0}, {"Kept", 0},  {"Child", 0},    {"raw", 0},  {"Kept value", 0},
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
  const RegistrationScript script{tokens, strings, dwords, binaries};
  ReplacementMap map;
  map.Add("Number", "4294967295");

  MemoryRegistry registry;
  ASSERT_EQ(RunScript(registry, script, true, map), status::Ok);
  EXPECT_EQ(registry.Dump("HKCU"), (std::vector<std::string>{
                                       "HKCU",
                                       "HKCU\\Kept",
                                       "HKCU\\Kept Kept value = Kept value",
                                       "HKCU\\Kept\\Child",
                                       "HKCU\\Root",
                                       "HKCU\\Root bin = hex:0aff",
                                       "HKCU\\Root dw = dword:4294967295",
                                       "HKCU\\Root multi = multi:a|b||",
                                       "HKCU\\Root raw = hex:0102",
                                   }));
  ASSERT_EQ(RunScript(registry, script, false, map), status::Ok);
  EXPECT_EQ(registry.Dump("HKCU"), (std::vector<std::string>{"HKCU", "HKCU\\Kept", "HKCU\\Kept Kept value = Kept value"}));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(RegistrationScript, MalformedScriptsAndMarkersAreRefused) {
  static constexpr ScriptString strings[] = {{"", 0}, {"Key", 0}, {"%Unknown%", kExpandMarkers}, {"abc", 0},
                                             {"12x", 0}};
  static constexpr ScriptDword dwords[] = {{4, kExpandMarkers}};
  static constexpr ScriptBinary binaries[] = {{nullptr, 0, kExpandMarkers, 3}};
  struct Row {
    std::vector<std::uint32_t> tokens;
    Status expected;
  };
  const Row rows[] = {
      {{}, status::InvalidArg},
      {{0x30004000, 0}, status::Fail},                          // no root first
      {{0x70000000, 0x30008000, 0}, status::Fail},              // a key name that does not expand
      {{0x70000000, 0x30014000, 0}, status::Fail},              // a string beyond the table
      {{0x70000000, 0x40000000, 0}, status::Fail},              // an opcode without a meaning
      {{0x70000000, 0x70000000, 0}, status::Fail},              // a second root
      {{0x70000000, 0x30004000, 0xB0004000, 0}, status::Fail},  // hexadecimal text of odd length
      {{0x70000000, 0x30004000, 0xA0004000, 0}, status::Fail},  // a number with a letter
      {{0x70000000, 0x30004000, 0xA0004001, 0}, status::Fail},  // a DWORD entry beyond the table
      {{0x70000000, 0x60000000, 0x30004000, 0}, status::Fail},  // a key after the root's end
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.tokens));
    MemoryRegistry registry;
    EXPECT_EQ(RunScript(registry, {row.tokens, strings, dwords, binaries}, true, {}), row.expected);
    EXPECT_EQ(registry.OpenHandles(), 0);
  }
}

TEST(ReplacementMarkers, ExpandByNameWithoutRegardToCase) {
  ReplacementMap map;
  map.Add("Module", "C:\\a.dll");
  map.Add("MODULE", "second");
  map.Add("Empty", "");
  map.Add(std::string(31, 'n'), "31");
  map.Add(std::string(32, 'n'), "32");
  const auto lead = [](unsigned char byte) { return byte == 0x81; };
  struct Row {
    std::string text;
    std::optional<std::string> expected;  // nothing: E_FAIL
    LeadBytePredicate is_lead_byte = nullptr;
  };
  const Row rows[] = {
      {"%Module%", "C:\\a.dll"},
      {"x%mODULE%y%EMPTY%z", "xC:\\a.dlly" "z"},
      {"100%% %%Module%%", "100% %Module%"},
      {"%" + std::string(31, 'N') + "%", "31"},
      {"%" + std::string(32, 'n') + "%", std::nullopt},
      {"%Unknown%", std::nullopt},
      {"%Module", std::nullopt},
      {"50%", std::nullopt},
      {"\x81%x", "\x81%x", lead},  // the percent sign is a trail byte
      {"\x81%x", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    try {
      const std::string expanded = ExpandMarkers(row.text, map, row.is_lead_byte);
      EXPECT_EQ(std::optional(expanded), row.expected);
    } catch (const CAtlException& e) {
      EXPECT_EQ(row.expected, std::nullopt);
      EXPECT_EQ(e.status(), status::Fail);
    }
  }
}

}  // namespace
}  // namespace qm
