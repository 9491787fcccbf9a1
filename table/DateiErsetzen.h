#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// What writeFileReplacing reports besides an errno value.
inline constexpr int ErsetzenOk = 0;
inline constexpr int ErsetzenInhaltAbgelehnt = -1; // the content callback refused to write

// Writes a file so that the old one survives any failure, a kill included: the content goes into a
// temporary file with a unique, short name beside the target, created exclusively, locked while in
// use, flushed to the disk and renamed over the target; then the folder is flushed. Temporary files
// that killed saves of the same target left behind are removed first. A target that is a symbolic
// link stays a link: the file it points to is replaced. The target's permissions are kept.
// An existing writable target in a folder that cannot be written is rewritten in place instead,
// then read back and compared (EIO when it differs). path: UTF-8.
// Returns ErsetzenOk, ErsetzenInhaltAbgelehnt, or the errno value of the step that failed
// (EISDIR for a target that is no regular file); on any failure the target is untouched.
int writeFileReplacing(const std::string& path, const std::function<bool(std::ostream&)>& write);
