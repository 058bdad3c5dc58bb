#pragma once

#include <string>
#include <string_view>

// Paths inside the program are UTF-8 on every system, so a folder named in any language works on Windows too:
// the Windows code hands them to the system's wide calls, converting at each call. File contents and the
// texts written to the registry stay in the ANSI code page.

// The path as a message shows it. A message's text is in the list's 8-bit encoding, so on Windows the path
// comes in the ANSI code page, a letter that the code page lacks shown as "?"; elsewhere it is unchanged.
std::string PathInMessage(std::string_view path);

#ifdef _WIN32
// The UTF-16 form of a UTF-8 text (a path for the system's wide calls).
std::wstring WideFromUtf8(std::string_view text);

// The UTF-8 form of a UTF-16 text (a path that a wide call gave).
std::string Utf8FromWide(std::wstring_view text);

// The full path of the running executable.
std::wstring ExecutableWidePath();
#endif
