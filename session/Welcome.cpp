#include "session/Welcome.h"

#include <QCoreApplication>

#include "settings/SettingsStore.h"

namespace lumbrel {

QString Welcome::Text() {
    return QCoreApplication::translate(
        "Welcome",
        "Welcome to Lumbrel.\n"
        "\n"
        "The Koch method teaches Morse code by ear, at full speed from the first day. You "
        "start with two characters and copy five-minute sessions of them. Each time you copy "
        "a session with 90 % accuracy, one more character is added.\n"
        "\n"
        "What to do now:\n"
        "1. Choose your target speed under Actual Character Speed (20 WPM or more).\n"
        "2. Press Start (or F5) and copy on paper what you hear.\n"
        "3. At the end, choose File > Check Copy and type in your copy.\n"
        "\n"
        "At 90 % the next character is offered. Help > Welcome shows this again.");
}

bool Welcome::Due(SettingsStore& store, bool firstStart) {
    if (firstStart &&
        !store.Raw(QString::fromLatin1(keys::Welcome.section), QString::fromLatin1(keys::Welcome.name)))
        store.Write(keys::Welcome, 1);
    return store.Read(keys::Welcome) != 0;
}

void Welcome::SessionBegan(SettingsStore& store) {
    if (store.Read(keys::Welcome) != 0)
        store.Write(keys::Welcome, 0);
}

}  // namespace lumbrel
