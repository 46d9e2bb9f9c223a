#pragma once

#include <string>

namespace vestrino {

// The name of a user's encrypted card file: the user name and "_listaCarte", when the name is
// a safe file name (not empty, not "." or "..", no "/" or NUL, at most 200 bytes); otherwise
// "u-" and the hexadecimal SHA-256 of the name, so that nothing is ever written outside the
// documents folder.
std::string userCardFileName(const std::string& user);
// The same name with another ending (the user's other files: "_offline").
std::string userFileName(const std::string& user, const std::string& ending);

} // namespace vestrino
