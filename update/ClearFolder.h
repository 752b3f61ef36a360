// Emptying a folder tree.
#pragma once

// Deletes every file and subfolder below `folder`, which itself stays. Failures are
// ignored: a file that cannot be deleted stays, and so does every folder above it.
// Paths longer than the 256-byte buffers are left alone.
void ClearFolder(const char* folder);
