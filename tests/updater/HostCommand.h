// Host (Linux) commands run from a test under Wine, waited for through a file.
#pragma once
#include <string>

#include "tests/support/TestFiles.h"

// Runs `command` with /bin/sh in the host folder of `folder` and waits up to `timeoutMs` for
// it to end; its exit code, or -1 when it could not be started or did not end in time. What
// it printed is in `output`.
int RunHostCommand(const std::string& command, const fs::path& folder, std::string& output,
                   unsigned timeoutMs = 60000);

// Saves the whole virtual display as build/artifacts/`name` for people to look at; false
// when that failed.
bool SaveScreenshot(const std::string& name);
