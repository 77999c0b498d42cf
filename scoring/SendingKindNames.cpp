#include "scoring/SendingKindNames.h"

namespace lumbrel {

QString SendingKindName(SendingKind kind) {
    switch (kind) {
        case SendingKind::Echo:
            return QStringLiteral("echo");
        case SendingKind::Text:
            return QStringLiteral("text");
        case SendingKind::Free:
            break;
    }
    return QStringLiteral("free");
}

std::optional<SendingKind> SendingKindFromName(const QString& name) {
    for (const SendingKind kind : {SendingKind::Echo, SendingKind::Text, SendingKind::Free})
        if (name == SendingKindName(kind))
            return kind;
    return std::nullopt;
}

}  // namespace lumbrel
