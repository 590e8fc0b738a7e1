// Names derived from a module's path: the pieces of the path, the language
// module beside it, the type library's help directory, and the product
// version read from a version resource's fixed part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/lead_byte.h"

namespace qm {

struct ModulePathParts {
  std::string directory;  // up to and including the last separator ('\\' or '/')
  std::string title;      // the last component without its extension
  std::string extension;  // from the last dot of the last component, dot included
};

ModulePathParts SplitModulePath(std::string_view path, LeadBytePredicate is_lead_byte = nullptr);

// "<directory><title>.lang-<language><extension>". Raises
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) when the result does not fit
// a MAX_PATH buffer.
std::string LanguageModulePath(const ModulePathParts& parts, std::uint16_t language);

// The path with its extension replaced, under the same length limit.
std::string PathWithExtension(const ModulePathParts& parts, std::string_view extension);

// The first 259 characters of `path` cut after their last '\\', '/' or ':'
// (the separator stays); empty when there is none.
std::string HelpDirectoryOf(std::string_view path, LeadBytePredicate is_lead_byte = nullptr);

// The product version (high pair * 2^32 + low pair) from the bytes that a
// version query returned for the root block; nothing when they are too short
// or lack the fixed part's signature.
std::optional<std::uint64_t> ProductVersionFromFixedInfo(std::span<const std::byte> fixed_info);

}  // namespace qm
