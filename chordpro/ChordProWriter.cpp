#include "chordpro/ChordProWriter.h"

#include <cstdio>

std::string ChordProWriter::defineLine(const ChordProDefinition& definition, bool fingers)
{
    std::string line = "{define: " + definition.name + " base-fret " + std::to_string(definition.baseFret) +
                       " frets";
    for (int s = 0; s < definition.saiten; ++s)
        line += definition.frets[s] < 0 ? std::string(" x") : " " + std::to_string(definition.frets[s]);
    if (fingers && definition.hasFingers) {
        line += " fingers";
        for (int s = 0; s < definition.saiten; ++s)
            line += " " + std::to_string(definition.fingers[s]);
    }
    return line + "}";
}

std::string ChordProWriter::jsonString(const std::string& text)
{
    std::string result = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            result += escaped;
        } else {
            result += c;
        }
    }
    return result + "\"";
}

std::string ChordProWriter::json(const std::string& instrument, const std::vector<std::string>& tuning,
                                 const std::vector<ChordProDefinition>& definitions, bool fingers)
{
    std::string text = "{\n  \"instrument\": {\n    \"type\": " + jsonString(instrument) +
                       ",\n    \"description\": " + jsonString(instrument) + "\n  },\n  \"tuning\": [";
    for (std::size_t i = 0; i < tuning.size(); ++i)
        text += (i ? ", " : " ") + jsonString(tuning[i]);
    text += " ],\n  \"chords\": [\n";
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        const ChordProDefinition& d = definitions[i];
        text += "    { \"name\": " + jsonString(d.name) + ", \"base\": " + std::to_string(d.baseFret) +
                ", \"frets\": [";
        for (int s = 0; s < d.saiten; ++s)
            text += (s ? ", " : " ") + std::to_string(d.frets[s]);
        text += " ]";
        if (fingers && d.hasFingers) {
            text += ", \"fingers\": [";
            for (int s = 0; s < d.saiten; ++s)
                text += (s ? ", " : " ") + std::to_string(d.fingers[s]);
            text += " ]";
        }
        text += i + 1 < definitions.size() ? " },\n" : " }\n";
    }
    return text + "  ]\n}\n";
}
