#pragma once
#include "tools/render/RenderOptions.h"

namespace lumbrel::render {


// A random-group session through the trainer's engine: to a file on the virtual
// device, or to the sound card with --play. Returns the exit status.
int RenderGroupSession(const RenderOptions& options);

}  // namespace lumbrel::render
