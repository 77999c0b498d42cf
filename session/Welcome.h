#pragma once
// The greeting of a first start: what the method asks and what to press, shown in the
// text area from the very first start until the first session begins.
#include <QString>

namespace lumbrel {

class SettingsStore;

class Welcome {
public:
    // The greeting, translated ("Welcome" context).
    static QString Text();
    // At the window's creation: whether the greeting is due. It is on the very first start
    // (firstStart: no settings file existed) and stays due until a session begins.
    static bool Due(SettingsStore& store, bool firstStart);
    // A session began: the greeting never comes back by itself.
    static void SessionBegan(SettingsStore& store);
};

}  // namespace lumbrel
