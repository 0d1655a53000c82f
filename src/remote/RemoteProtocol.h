#pragma once

#include <QByteArray>
#include <optional>

#include "remote/RemoteConsole.h"

namespace lumetra::remote {

// The page's messages over the WebSocket. The console sends the whole
// state as one JSON object whenever it changes; a page sends one small
// JSON object per action: {"op":"play"}, {"op":"picture","n":3,"on":true},
// {"op":"slot","n":5}, {"op":"mode","n":1}, {"op":"tempo","value":60},
// {"op":"blackout","on":true}, {"op":"macro","on":false}, {"op":"tap"}.
QByteArray stateJson(const RemoteState& state);

// A page's message, checked: unknown operations, missing or out-of-range
// numbers and anything that is not such an object give nothing.
std::optional<Command> parseCommand(const QByteArray& message);

}  // namespace lumetra::remote
