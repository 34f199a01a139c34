#pragma once
// Where the module finds User.ini and the panel files. A console installs them beside the executable, so
// that folder comes first; an installed program also looks in the user's configuration folder and then
// in the shared data folder of its installation prefix.

#include <string>
#include <vector>

// The folders in lookup order: the executable's own, $XDG_CONFIG_HOME/kms-module (~/.config/kms-module
// when unset), and share/kms-module beside the executable's bin folder (/usr/share/kms-module for
// /usr/bin/kms-module).
std::vector<std::string> DataFolders();

// The path of `name` in the first of `folders` that holds it. An absolute name stays as it is; a name
// found nowhere is taken in the first folder, so a message names the first place looked at.
std::string FindDataFile(const std::string& name, const std::vector<std::string>& folders = DataFolders());
