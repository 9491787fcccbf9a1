#pragma once

#include <string>
#include <utility>
#include <vector>

// Records the model's plain message boxes (text, caption) instead of showing them.
class MeldungRecorder
{
public:
    MeldungRecorder();
    ~MeldungRecorder();
    MeldungRecorder(const MeldungRecorder&) = delete;
    MeldungRecorder& operator=(const MeldungRecorder&) = delete;

    const std::vector<std::pair<std::string, std::string>>& calls() const;
    static void installGlobally();
};
