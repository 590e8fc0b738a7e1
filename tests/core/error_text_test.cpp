#include "core/error_text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FallbackErrorText, FillsThePlaceholderWithEightHexDigits) {
  EXPECT_EQ(FormatFallbackErrorText("Error 0x%08x", 0xA20101C4u), "Error 0xa20101c4");
  EXPECT_EQ(FormatFallbackErrorText("Fehler 0x%08x", 0x5u), "Fehler 0x00000005");
  EXPECT_EQ(FormatFallbackErrorText("%x!", 0x80004005u), "80004005!");
  EXPECT_EQ(FormatFallbackErrorText("Code %08X", 0xA20101C4u), "Code A20101C4");
  EXPECT_EQ(FormatFallbackErrorText("", 1), "");
  EXPECT_EQ(FormatFallbackErrorText("no placeholder", 1), "no placeholder");
}

TEST(FallbackErrorText, ForeignFormatTextIsNeverInterpretedBeyondTheOnePlaceholder) {
  // Conversions that would read arguments that do not exist stay as written.
  EXPECT_EQ(FormatFallbackErrorText("%s %n %d 0x%08x %p", 0xFFu), "%s %n %d 0x000000ff %p");
  // Only the first placeholder is filled.
  EXPECT_EQ(FormatFallbackErrorText("%08x %08x", 0x12u), "00000012 %08x");
  // "%%" is a percent sign, and does not start a placeholder.
  EXPECT_EQ(FormatFallbackErrorText("100%% %%x %08x", 0x1u), "100% %x 00000001");
  // A lone trailing percent sign and a width without conversion.
  EXPECT_EQ(FormatFallbackErrorText("%08", 0x1u), "%08");
  EXPECT_EQ(FormatFallbackErrorText("a %", 0x1u), "a %");
}

TEST(FallbackErrorText, InsertsLeftInAMessageMeanItCouldNotBeFormed) {
  EXPECT_TRUE(NeedsInsertArguments("Insert %2 into drive %1.\r\n"));
  EXPECT_TRUE(NeedsInsertArguments("%9"));
  EXPECT_FALSE(NeedsInsertArguments("Unspecified error\r\n"));
  EXPECT_FALSE(NeedsInsertArguments("100%% done, %0"));
  EXPECT_FALSE(NeedsInsertArguments("50%"));
}

}  // namespace
}  // namespace qm
