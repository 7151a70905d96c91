// The floor of a load: the file's bytes read into a fresh buffer the way the loader reads them.
#pragma once

#include <string>

// Milliseconds to open the file, allocate a buffer of its size (as the loader does, in huge
// pages where the system has them) and read it whole.
double TimeBareRead(const std::string& path);
