#ifndef SKEDOMAT_BASE_UTF16_WIN32_H
#define SKEDOMAT_BASE_UTF16_WIN32_H

#include <string>

// Text between the UTF-8 strings of the program and the UTF-16 that the
// wide-character Windows calls take, so that a path or a command line means
// the same whatever the machine's code page. Windows sources only.
namespace platform {

// Empty when `text` is no valid UTF-8.
std::wstring toUtf16(const std::string& text);

std::string toUtf8(const std::wstring& text);

}  // namespace platform

#endif  // SKEDOMAT_BASE_UTF16_WIN32_H
