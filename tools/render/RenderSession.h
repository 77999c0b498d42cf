#pragma once
#include "tools/render/RenderOptions.h"

namespace lumbrel::render {

// A session through the trainer's engine (random groups, words, one sample QSO or a
// text file): to a file on the virtual device, or to the sound card with --play.
// Returns the exit status.
int RenderTrainerSession(const RenderOptions& options);

}  // namespace lumbrel::render
