// A fingerprint of the game's resource files, written into every replay: a run replayed with other
// pictures or sounds than it was recorded with could play differently, and is refused.
#pragma once

#include <string>

// 64-bit FNV-1a over the files of `folder` the charts load (`loadedResourceNames`), in name order,
// each that is a regular file (its name, then its bytes), as 16 hexadecimal digits. Other files in
// the folder cost nothing and change nothing. Not a protection against forgery, only against a
// mix-up.
std::string resourceDigest(const std::string& folder);
