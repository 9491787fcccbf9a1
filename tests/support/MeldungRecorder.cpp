#include "tests/support/MeldungRecorder.h"

#include "theory/Meldung.h"

namespace {

std::vector<std::pair<std::string, std::string>> recorded;

void record(const std::string& text, const std::string& titel)
{
    recorded.emplace_back(text, titel);
}

} // namespace

MeldungRecorder::MeldungRecorder()
{
    recorded.clear();
    SetzeEinfacheMeldung(&record);
}

MeldungRecorder::~MeldungRecorder()
{
    recorded.clear();
}

const std::vector<std::pair<std::string, std::string>>& MeldungRecorder::calls() const
{
    return recorded;
}

void MeldungRecorder::installGlobally()
{
    SetzeEinfacheMeldung(&record);
}
