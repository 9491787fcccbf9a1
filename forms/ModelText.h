#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "theory/Zeichensatz.h"

// The model keeps Windows-1252 bytes; the windows show and edit QStrings.
inline QString modelToQt(std::string_view cp1252)
{
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

// False when the text holds a character the model's code page cannot keep.
inline bool qtToModel(const QString& text, std::string& cp1252)
{
    return utf8ToCp1252(text.toStdString(), cp1252);
}
