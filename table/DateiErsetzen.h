#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes a file so that the old one survives any failure: the content goes into a temporary file
// beside the target, which replaces the target only when everything was written and flushed.
// path: UTF-8. False, with the target untouched, when anything fails.
bool writeFileReplacing(const std::string& path, const std::function<bool(std::ostream&)>& write);
