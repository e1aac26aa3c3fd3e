// Text and path conversions of the desk: program texts are GBK (code page
// 936), the host's file names, terminal and log are UTF-8.
#pragma once

#include <string>

namespace desk {

// GBK bytes to UTF-8. A byte that is not valid GBK becomes U+00XX (the log's
// \u00XX form); `invalid` is set when that happened.
std::string GbkToUtf8(const std::string& gbk, bool* invalid = nullptr);
// UTF-8 to GBK; false when a character has no GBK form.
bool Utf8ToGbk(const std::string& utf8, std::string* gbk);

// A Windows-style path of the program (GBK, backslashes) as a host path.
std::string HostPath(const char* windowsPath);
// A host path as the program sees it (GBK, backslashes).
std::string ProgramPath(const std::string& hostPath);

// A JSON string literal (quotes included) of a GBK text, as the log writes it.
std::string JsonText(const std::string& gbk);

}  // namespace desk
