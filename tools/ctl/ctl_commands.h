#pragma once
// The commands of kestrova-ctl; each returns the process exit code.

#include "tools/ctl/ctl_device.h"

int RunList();
int RunInfo(const CtlOptions& options);
int RunSettings(const CtlOptions& options);
int RunKeys(const CtlOptions& options);
int RunWatch(const CtlOptions& options);
