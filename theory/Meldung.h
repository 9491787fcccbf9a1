#pragma once

#include <string>

// The platform's plain message box (text, caption, OK), used by the model's consistency checks.
// Texts are UTF-8. The model only calls the installed function; the windows install a real box,
// tests a recorder.
using EinfacheMeldungFunktion = void (*)(const std::string& text, const std::string& titel);

void EinfacheMeldung(const std::string& text, const std::string& titel);
// Installs f (nullptr: the default, which writes to standard error) and returns the previous one.
EinfacheMeldungFunktion SetzeEinfacheMeldung(EinfacheMeldungFunktion f);
