// The one converter between the program's strings and the single-byte text
// of its own binary formats (Windows-1252).
#pragma once

#include <QString>

#include <string>
#include <string_view>

// Characters that Windows-1252 cannot hold become '?'.
std::string ToWin1252(const QString& Text);
// Undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, as the platform's conversion does.
QString FromWin1252(std::string_view Bytes);
