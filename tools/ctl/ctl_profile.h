#pragma once
// kestrova-ctl's commands that change the mouse: set, export and apply, on
// the classes the mouse page uses. Each returns the process exit code.

#include "tools/ctl/ctl_device.h"

#include <string>
#include <vector>

int RunSet(const CtlOptions& options, const std::vector<std::string>& assignments);
int RunExport(const CtlOptions& options, const std::string& file);
int RunApply(const CtlOptions& options, const std::string& file);
