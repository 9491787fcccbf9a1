#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <QByteArray>
#include <QString>

enum class FontStyle : std::uint8_t { Regular, Bold };

// One placed text of the board: position, font and a zero-terminated UTF-8 text.
struct BeschriftungClass
{
    static constexpr int MaxBytes = 102;

    std::int32_t PosX = 0;
    std::int32_t PosY = 0;
    std::int32_t Schrifthoehe = 0; // pixel size of the font
    FontStyle Schriftstil = FontStyle::Regular;
    char Inhalt[MaxBytes + 1] = {};

    // A longer text is cut on a character boundary, so Inhalt stays valid UTF-8.
    void setText(const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        qsizetype length = utf8.size();
        if (length > MaxBytes) {
            length = MaxBytes;
            while (length > 0 && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
                --length;
        }
        std::memcpy(Inhalt, utf8.constData(), static_cast<std::size_t>(length));
        Inhalt[length] = '\0';
    }

    QString text() const { return QString::fromUtf8(Inhalt); }
    bool isEmpty() const { return Inhalt[0] == '\0'; }
};
static_assert(sizeof(BeschriftungClass) == 116);
static_assert(offsetof(BeschriftungClass, PosX) == 0);
static_assert(offsetof(BeschriftungClass, PosY) == 4);
static_assert(offsetof(BeschriftungClass, Schrifthoehe) == 8);
static_assert(offsetof(BeschriftungClass, Schriftstil) == 12);
static_assert(offsetof(BeschriftungClass, Inhalt) == 13);
