#pragma once
// The names the history and its CSV give the kinds of sending.
#include <QString>

#include <optional>

#include "scoring/SendingRecord.h"

namespace lumbrel {

// "echo", "text" or "free".
QString SendingKindName(SendingKind kind);
// The kind of a name; nothing for a name of none.
std::optional<SendingKind> SendingKindFromName(const QString& name);

}  // namespace lumbrel
