#pragma once

#include <QGuiApplication>

#include "app/window_placement.h"

// Whether the windowing system the program runs on puts windows where it asks.
inline bool PlacesWindows() { return PlatformPlacesWindows(QGuiApplication::platformName().toStdString()); }
