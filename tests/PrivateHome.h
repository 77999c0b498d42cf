#pragma once
// Test programs never read or write the user's settings, history or control socket.

namespace lumbrel::test {

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and
// XDG_RUNTIME_DIR at fresh folders of this process, removed when it exits, unless they
// are private already (LUMBREL_PRIVATE_HOME names the current HOME: a test script or
// program that made them passes them on). A sound server of the user is not started
// on the test's behalf either. First thing in main(), before any application object
// reads the environment; a test program that cannot have its own folders stops.
void UsePrivateHome();

}  // namespace lumbrel::test
