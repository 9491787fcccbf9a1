#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <filesystem>
#include <random>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TestDateien.h"
#include "tests/support/TestTabelle.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<AkkordDepotClass> fullTable(int grips)
{
    auto doc = tableWithCatalogue();
    fillCatalogue(*doc, MaxTypen);
    fillTable(*doc, grips);
    return doc;
}

// The bytes a document saves as, written beside the other files of the test.
std::string savedBytes(AkkordDepotClass& doc, const TempFolder& folder, const std::string& name)
{
    const std::string path = folder.file(name);
    EXPECT_TRUE(doc.Speichern(path));
    return readFile(path);
}

// Runs body in a child process that cannot bypass file permissions (root drops to nobody);
// returns what the child returned.
int asUnprivilegedChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(250);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SafeSave : public testing::Test
{
protected:
    void SetUp() override
    {
        oldDoc = fullTable(MaxGriffe);
        newDoc = fullTable(MaxGriffe - 1);
        target = folder.file("Tabelle.cho");
        ASSERT_TRUE(oldDoc->Speichern(target));
        oldBytes = readFile(target);
        newBytes = savedBytes(*newDoc, folder, "neu.cho");
        fs::remove(folder.file("neu.cho"));
        ASSERT_NE(oldBytes, newBytes);
    }

    TempFolder folder;
    std::unique_ptr<AkkordDepotClass> oldDoc;
    std::unique_ptr<AkkordDepotClass> newDoc;
    std::string target;
    std::string oldBytes;
    std::string newBytes;
};

} // namespace

TEST_F(SafeSave, FailuresLeaveTheOldFileAndTheModifiedState)
{
    // Onto a folder.
    const std::string directory = folder.file("Ordner.cho");
    fs::create_directory(directory);
    newDoc->SetzeGeaendert(true);
    EXPECT_FALSE(newDoc->Speichern(directory));
    EXPECT_EQ(newDoc->SpeicherFehler(), EISDIR);
    EXPECT_TRUE(newDoc->IstGeaendert());
    EXPECT_TRUE(fs::is_directory(directory));

    // Into a folder that does not exist.
    EXPECT_FALSE(newDoc->Speichern(folder.file("fehlt/Tabelle.cho")));
    EXPECT_EQ(newDoc->SpeicherFehler(), ENOENT);

    // Into a folder the user may not write, over a file the user may write.
    ::chmod(target.c_str(), 0666);
    ::chmod(folder.path().c_str(), 0755);
    const int folderResult = asUnprivilegedChild([&] {
        return newDoc->Speichern(target) ? 0 : newDoc->SpeicherFehler();
    });
    EXPECT_EQ(folderResult, EACCES);

    // A file the user may not write.
    ::chmod(folder.path().c_str(), 0777);
    ::chmod(target.c_str(), 0644);
    const int fileResult = asUnprivilegedChild([&] {
        return newDoc->Speichern(target) ? 0 : newDoc->SpeicherFehler();
    });
    EXPECT_EQ(fileResult, EACCES);
    ::chmod(folder.path().c_str(), 0755);

    EXPECT_EQ(readFile(target), oldBytes);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"Ordner.cho", "Tabelle.cho"}))
        << "no temporary file may stay behind";
}

TEST_F(SafeSave, FullFileSystemLeavesTheOldFile)
{
    const fs::path mountPoint = folder.path() / "klein";
    fs::create_directory(mountPoint);
    // Room for the old table, not for a second copy beside it.
    const std::string options = "size=" + std::to_string(oldBytes.size() + oldBytes.size() / 2);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, options.c_str()) != 0)
        GTEST_SKIP() << "skipped: no small tmpfs could be mounted here (" << std::strerror(errno) << ")";
    const std::string small = (mountPoint / "Tabelle.cho").string();
    writeFile(small, oldBytes);
    ASSERT_EQ(readFile(small), oldBytes);
    newDoc->SetzeGeaendert(true);
    EXPECT_FALSE(newDoc->Speichern(small));
    EXPECT_EQ(newDoc->SpeicherFehler(), ENOSPC);
    EXPECT_TRUE(newDoc->IstGeaendert());
    EXPECT_EQ(readFile(small), oldBytes);
    EXPECT_EQ(namesIn(mountPoint), std::vector<std::string>{"Tabelle.cho"});
    ::umount(mountPoint.c_str());
}

TEST_F(SafeSave, LinksPermissionsAndPlantedTemporaryNames)
{
    // A target reached through a symbolic link stays a link; the file behind it gets the content.
    const std::string link = folder.file("Verweis.cho");
    fs::create_symlink("Tabelle.cho", link);
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(newDoc->Speichern(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), newBytes);
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "the file's permissions are kept";

    // Whatever lies under the names a save used to write through is never opened or followed.
    const std::string victim = folder.file("fremd.txt");
    writeFile(victim, "fremd");
    fs::create_symlink("fremd.txt", target + ".tmp~");
    writeFile(folder.file(".Tabelle.cho.0.tmp~"), "alt");
    ASSERT_TRUE(oldDoc->Speichern(target));
    EXPECT_EQ(readFile(victim), "fremd");
    EXPECT_EQ(readFile(target), oldBytes);
    EXPECT_TRUE(fs::is_symlink(target + ".tmp~"));
}

TEST_F(SafeSave, AnInconsistentDocumentIsRefusedBeforeWriting)
{
    // A grip filed under a type the catalogue does not hold would make the file unreadable.
    AkkordDepotClass& doc = *newDoc;
    const int last = doc.TypAnzahl() - 1;
    doc.Loeschen();
    doc.FingerSetzen(3, 2, 1);
    doc.AkkordSetzen(0, last);
    ASSERT_GT(doc.GriffAufnehmen(), 0);
    int first = 0;
    while (doc.Element(first).AkkordTyp != last)
        ++first;
    doc.TypEntfernen(last); // the catalogue alone, without the document's renumbering
    int griff = -2;
    EXPECT_EQ(doc.Pruefen(&griff), PruefAkkordtyp);
    EXPECT_EQ(griff, first);
    EXPECT_FALSE(doc.Speichern(target));
    EXPECT_EQ(doc.SpeicherFehler(), SpeichernUngueltig);
    EXPECT_EQ(readFile(target), oldBytes);
}

TEST_F(SafeSave, TwoProcessesSavingAtOnceLeaveOneCompleteTable)
{
    auto saveLoop = [&](AkkordDepotClass& doc) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < 200; ++i) {
                if (!doc.Speichern(target))
                    ::_exit(1);
            }
            ::_exit(0);
        }
        return child;
    };
    const pid_t a = saveLoop(*oldDoc);
    const pid_t b = saveLoop(*newDoc);
    int statusA = 0;
    int statusB = 0;
    ::waitpid(a, &statusA, 0);
    ::waitpid(b, &statusB, 0);
    EXPECT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    EXPECT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
    auto loaded = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(loaded->Laden(target), LadenOk);
    const std::string bytes = readFile(target);
    EXPECT_TRUE(bytes == oldBytes || bytes == newBytes);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"Tabelle.cho"});
}

TEST_F(SafeSave, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewTable)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delay(0, 8000);
    for (int round = 0; round < 200; ++round) {
        AkkordDepotClass& doc = round % 2 == 0 ? *newDoc : *oldDoc;
        const std::string before = readFile(target);
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(doc.Speichern(target) ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string after = readFile(target);
        ASSERT_TRUE(after == oldBytes || after == newBytes) << "round " << round;
        ASSERT_TRUE(after == before || after == savedBytes(doc, folder, "vergleich.cho")) << "round " << round;
        fs::remove(folder.file("vergleich.cho"));
    }
    auto loaded = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(loaded->Laden(target), LadenOk);
    // Temporary files of killed saves may stay; a later save is not disturbed by them.
    ASSERT_TRUE(newDoc->Speichern(target));
    EXPECT_EQ(readFile(target), newBytes);
}
