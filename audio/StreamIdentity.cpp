#include "audio/StreamIdentity.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumbrel {
namespace {

void SetUnlessSet(const char* variable, const char* value) {
    if (!qEnvironmentVariableIsSet(variable))
        qputenv(variable, QByteArray(value));
}

}  // namespace

void AnnounceSoundStreams(const StreamIdentity& identity) {
    // The plugin names its client itself, which a plain PULSE_PROP_application.name does
    // not replace; the OVERRIDE form does.
    SetUnlessSet("PULSE_PROP_OVERRIDE_application.name", identity.applicationName);
    SetUnlessSet("PULSE_PROP_application.icon_name", identity.iconName);
    SetUnlessSet("PULSE_PROP_media.role", identity.mediaRole);
}

}  // namespace lumbrel
