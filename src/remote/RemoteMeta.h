#pragma once

#include <QMetaType>

#include "remote/RemoteConsole.h"

// The remote's values cross between its thread and the console's.
Q_DECLARE_METATYPE(lumetra::remote::Command)
Q_DECLARE_METATYPE(lumetra::remote::RemoteState)
