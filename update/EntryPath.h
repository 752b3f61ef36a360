// Which archive entry names may be written below a destination folder.
#pragma once

// `name` uses backslashes as separators. A safe name is one or more plain file or
// folder names joined by single backslashes (a folder entry may end with one), so
// that it can only ever name something inside the destination. Refused: an empty
// name, a leading separator (root, UNC and device paths), any ':' (drives, alternate
// data streams), segments made of dots and blanks only ("..", "."), empty segments,
// control characters and wildcard or quoting characters, and reserved device names.
bool IsSafeEntryPath(const char* name);
