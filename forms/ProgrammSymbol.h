#pragma once

#include <QIcon>

// Zupfwerk's own icon, built into the program, in the sizes window frames and task bars ask for.
QIcon ProgrammSymbol();
