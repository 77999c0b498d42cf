#pragma once

namespace lumbrel::test {

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and
// XDG_RUNTIME_DIR at fresh folders of this process, removed at exit, so that no test
// touches the user's settings, history or control socket; unless they are private
// already (LUMBREL_PRIVATE_HOME names the current HOME). First thing in main().
void UsePrivateHome();

}  // namespace lumbrel::test
