#pragma once
// A folder's name as the system resolves it when it opens it.

#include <string>

namespace updater::app {

// The full path the system makes of path. Windows drops the spaces and periods that end a path,
// so a folder recorded as "C:\Lexivo " is opened as "C:\Lexivo"; a file in it, looked for as
// "C:\Lexivo \Quorbel2.exe", would be looked for in a folder that does not exist. Elsewhere the
// path as it is.
std::string FullPathAsOpened(const std::string& path);

}  // namespace updater::app
