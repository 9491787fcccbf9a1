#pragma once

#include <array>

#include <QPixmap>

// Side length in pixels of every message-box symbol.
inline constexpr int MsgSymbolGroesse = 37;

// The four symbols of the message box, drawn once on first use (needs a QGuiApplication):
// 0 warning, 1 error, 2 question, 3 information. Transparent around the picture.
const std::array<QPixmap, 4>& MsgSymbole();

// A null pixmap for an index outside 0..3.
const QPixmap& MsgSymbol(int index);
