#pragma once
// The one table that binds the main window's controls to the session: which control
// shows which option, and which controls show each read-out of the session.
#include <optional>

#include "engine/SessionOptions.h"
#include "ui/Controls.h"

namespace lumbrel {

// The control that shows an option; a check box holds the option's switch.
struct OptionBinding {
    ControlId control;
    Option option;
    bool checkBox;
};

// The option a control shows, if it shows one.
std::optional<OptionBinding> BindingOf(ControlId control);

// Copies an option, or a read-out, of the session into the controls.
void ShowOption(ControlsModel& controls, const SessionOptions& options, Option option);
void ShowReadout(ControlsModel& controls, const SessionReadouts& readouts, Readout readout);
// Every option and read-out.
void ShowSession(ControlsModel& controls, const SessionOptions& options, const SessionReadouts& readouts);

}  // namespace lumbrel
