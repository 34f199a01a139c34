#pragma once
// Where the module finds User.ini and the panel files. A console installs them beside the executable, so
// that folder comes first; an installed program also looks in the user's configuration folder and then
// in the shared data folder of its installation prefix. A console that opens several models from one
// installation names each model's User.ini in KMS_USER_INI; that file's folder then comes before all.

#include <string>
#include <vector>

// The folders of an installation whose programs lie in `exeDir`, in lookup order: `exeDir` itself,
// $XDG_CONFIG_HOME/kms-module (~/.config/kms-module when unset), and share/kms-module beside the bin
// folder (/usr/share/kms-module for /usr/bin).
std::vector<std::string> InstallFolders(const std::string& exeDir);

// The User.ini that KMS_USER_INI names (as given); empty when the variable is unset or empty.
std::string UserIniOverride();

// The folder of KMS_USER_INI's file when it is set, then InstallFolders of this executable.
std::vector<std::string> DataFolders();

// The path of `name` in the first of `folders` that holds it. An absolute name stays as it is; a name
// found nowhere is taken in the first folder, so a message names the first place looked at.
std::string FindDataFile(const std::string& name, const std::vector<std::string>& folders = DataFolders());
