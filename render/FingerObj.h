#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QImage>

class GriffbrettMainClass;

// The pre-rendered images of one symbol kind: a disc (kind 0) or a bar over kind + 1 strings
// (kinds 1..5), each image without a digit (index 0) or with a finger number.
class FingerObjClass
{
public:
    static constexpr int MaxTexte = 20;
    static constexpr int MaxTextBytes = 19;

    // Sized from the board's cell (0, 0) at build time, so build after every layout.
    FingerObjClass(const GriffbrettMainClass& brett, int art);

    // Refused (false, the set unchanged) for MaxTexte or more texts; longer texts are cut.
    bool setTexts(std::span<const char* const> texts);
    // Renders one image per text at the board's current cell size.
    void build();

    int Art() const { return m_Art; }
    int Textanzahl() const { return m_Textanzahl; }
    const char* Text(int i) const;
    int Schrifthoehe() const { return m_Schrifthoehe; }
    int Breite() const { return m_Breite; }
    int Hoehe() const { return m_Hoehe; }
    // Premultiplied ARGB: the shape is opaque, the rest transparent; a null image outside.
    const QImage& Bild(int i) const;

private:
    QImage render(const char* text) const;

    const GriffbrettMainClass* m_brett;
    std::int8_t m_Art = 0;
    char m_Texte[MaxTexte][MaxTextBytes + 1] = {};
    int m_Textanzahl = 0;
    int m_Schrifthoehe = 0;
    int m_Breite = 0;
    int m_Hoehe = 0;
    std::array<QImage, MaxTexte> m_Bilder;
};
