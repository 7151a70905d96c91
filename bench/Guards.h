// A benchmark must never sit waiting for a click: any modal dialog or failed assertion ends
// the run at once with its message.
#pragma once

void InstallFailFastGuards();
