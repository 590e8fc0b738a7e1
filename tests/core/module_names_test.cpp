#include "core/module_names.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/status.h"

namespace qm {
namespace {

std::uint32_t StatusOf(void (*call)()) {
  try {
    call();
  } catch (const CAtlException& e) {
    return static_cast<std::uint32_t>(e.status());
  }
  return 0;
}

TEST(SplitModulePath, DirectoryKeepsItsSeparatorAndExtensionItsDot) {
  const auto parts = SplitModulePath("C:\\Tools\\QuorvaneMarrowby.dll");
  EXPECT_EQ(parts.directory, "C:\\Tools\\");
  EXPECT_EQ(parts.title, "QuorvaneMarrowby");
  EXPECT_EQ(parts.extension, ".dll");
  EXPECT_EQ(LanguageModulePath(parts, 1049), "C:\\Tools\\QuorvaneMarrowby.lang-1049.dll");
  EXPECT_EQ(LanguageModulePath(parts, 65535), "C:\\Tools\\QuorvaneMarrowby.lang-65535.dll");
  EXPECT_EQ(PathWithExtension(parts, ".tlb"), "C:\\Tools\\QuorvaneMarrowby.tlb");

  const auto root = SplitModulePath("C:\\Quorvane.Marrowby.dll");
  EXPECT_EQ(root.directory, "C:\\");
  EXPECT_EQ(root.title, "Quorvane.Marrowby");
  EXPECT_EQ(root.extension, ".dll");
}

TEST(SplitModulePath, DotsOfDirectoriesAreNoExtension) {
  const auto parts = SplitModulePath("C:\\v1.1\\Marrowby");
  EXPECT_EQ(parts.directory, "C:\\v1.1\\");
  EXPECT_EQ(parts.title, "Marrowby");
  EXPECT_EQ(parts.extension, "");
  EXPECT_EQ(LanguageModulePath(parts, 1031), "C:\\v1.1\\Marrowby.lang-1031");

  const auto bare = SplitModulePath("Marrowby.dll");
  EXPECT_EQ(bare.directory, "");
  EXPECT_EQ(bare.title, "Marrowby");
}

TEST(SplitModulePath, TrailBytesThatLookLikeSeparatorsStayInTheirCharacter) {
  // 0x95 0x5C is one double-byte character whose trail byte is a backslash.
  const std::string path = "C:\\\x95\\\\x\x95\\.dll";
  auto lead = [](unsigned char c) { return c == 0x95; };
  const auto parts = SplitModulePath(path, lead);
  EXPECT_EQ(parts.directory, "C:\\\x95\\\\");
  EXPECT_EQ(parts.title, "x\x95\\");
  EXPECT_EQ(parts.extension, ".dll");
  // Read byte by byte the same path splits inside the characters.
  EXPECT_EQ(SplitModulePath(path).title, "");
}

TEST(LanguageModulePath, RefusesPathsLongerThanMaxPath) {
  static ModulePathParts parts;
  parts = {"C:\\" + std::string(240, 'd') + "\\", "QuorvaneMarrowby", ".dll"};
  EXPECT_EQ(StatusOf([] { (void)LanguageModulePath(parts, 1033); }), 0x800700CEu);
  EXPECT_EQ(StatusOf([] { (void)PathWithExtension(parts, ".tlb"); }), 0x800700CEu);
  parts.directory.resize(259 - parts.title.size() - 4);  // 259 characters fit, 260 do not
  EXPECT_EQ(PathWithExtension(parts, ".tlb").size(), 259u);
  EXPECT_EQ(StatusOf([] { (void)PathWithExtension(parts, ".tlbx"); }), 0x800700CEu);
}

TEST(HelpDirectoryOf, CutsAfterTheLastSeparatorOfTheFirst259Characters) {
  EXPECT_EQ(HelpDirectoryOf("C:\\Tools\\QuorvaneMarrowby.dll"), "C:\\Tools\\");
  EXPECT_EQ(HelpDirectoryOf("C:/Tools/x.dll"), "C:/Tools/");
  EXPECT_EQ(HelpDirectoryOf("C:x.dll"), "C:");
  EXPECT_EQ(HelpDirectoryOf("x.dll"), "");
  const std::string long_path = "C:\\" + std::string(250, 'a') + "\\b\\" + std::string(20, 'c');
  EXPECT_EQ(HelpDirectoryOf(long_path), "C:\\" + std::string(250, 'a') + "\\b\\");
  const std::string cut_path = "C:\\" + std::string(256, 'a') + "\\b.dll";
  EXPECT_EQ(HelpDirectoryOf(cut_path), "C:\\");
}

TEST(ProductVersionFromFixedInfo, ReadsTheProductPairsOnlyFromACompleteSignedBlock) {
  std::array<std::byte, 52> block{};
  auto put = [&](std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::byte>(value >> (8 * i));
  };
  put(0, 0xFEEF04BD);
  put(8, 0x00010001);   // file version 1.1.0.7
  put(12, 0x00000007);
  put(16, 0x00010001);  // product version 1.1.0.1
  put(20, 0x00000001);
  EXPECT_EQ(ProductVersionFromFixedInfo(block), 0x0001000100000001ull);
  EXPECT_EQ(ProductVersionFromFixedInfo(std::span(block).first(51)), std::nullopt);
  put(0, 0xFEEF04BC);
  EXPECT_EQ(ProductVersionFromFixedInfo(block), std::nullopt);
  EXPECT_EQ(ProductVersionFromFixedInfo({}), std::nullopt);
}

}  // namespace
}  // namespace qm
