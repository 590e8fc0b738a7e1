// GUIDs in registry form as 8-bit text.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": braces, upper-case digits.
std::string GuidText(REFGUID guid);

}  // namespace qm
