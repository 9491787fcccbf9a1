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
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "table/DateiArt.h"
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

    // A file the user may not write, in a folder the user may not write.
    ::chmod(target.c_str(), 0644);
    ::chmod(folder.path().c_str(), 0755);
    const int bothResult = asUnprivilegedChild([&] {
        return newDoc->Speichern(target) ? 0 : newDoc->SpeicherFehler();
    });
    EXPECT_EQ(bothResult, EACCES);

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

TEST_F(SafeSave, AWritableFileInAFolderThatCannotBeWrittenIsSavedInPlace)
{
    ::chmod(target.c_str(), 0666);
    ::chmod(folder.path().c_str(), 0755);
    struct stat before {};
    ::stat(target.c_str(), &before);
    const int result = asUnprivilegedChild([&] {
        return newDoc->Speichern(target) ? 0 : newDoc->SpeicherFehler();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(target), newBytes);
    struct stat after {};
    ::stat(target.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file itself was rewritten";
    // Shorter and longer content both come out whole.
    EXPECT_EQ(asUnprivilegedChild([&] { return oldDoc->Speichern(target) ? 0 : oldDoc->SpeicherFehler(); }), 0);
    EXPECT_EQ(readFile(target), oldBytes);
    ::chmod(folder.path().c_str(), 0777);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"Tabelle.cho"});
}

TEST_F(SafeSave, ATableNameOfAnyAllowedLengthSaves)
{
    for (const std::size_t length : {std::size_t{200}, std::size_t{233}, std::size_t{250}, std::size_t{255}}) {
        std::string name(length - 4, 'a');
        name.replace(0, 4, "\xC3\xA4\xC3\xB6"); // UTF-8 characters at the start, cut nowhere
        name += ".cho";
        const std::string path = folder.file(name);
        ASSERT_TRUE(newDoc->Speichern(path)) << length << ": " << std::strerror(newDoc->SpeicherFehler());
        ASSERT_TRUE(newDoc->Speichern(path)) << length;
        auto loaded = std::make_unique<AkkordDepotClass>();
        EXPECT_EQ(loaded->Laden(path), LadenOk) << length;
        fs::remove(path);
    }
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"Tabelle.cho"});
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
    // The next save removes what the killed ones left behind; only an empty file that a save might
    // just have created, before it could lock it, waits until it is old.
    ASSERT_TRUE(newDoc->Speichern(target));
    EXPECT_EQ(readFile(target), newBytes);
    for (const std::string& name : namesIn(folder.path())) {
        if (name != "Tabelle.cho") {
            EXPECT_EQ(fs::file_size(folder.path() / name), 0u) << name;
        }
    }
}

TEST_F(SafeSave, ASaveRemovesStaleTemporaryFilesButNotOnesInUse)
{
    const std::string stale = folder.file(".Tabelle.cho.00000000deadbeef.tmp~");
    const std::string inUse = folder.file(".Tabelle.cho.00000000feedf00d.tmp~");
    const std::string otherTable = folder.file(".Andere.cho.00000000deadbeef.tmp~");
    const std::string notOurs = folder.file(".Tabelle.cho.notes.tmp~");
    for (const std::string& path : {stale, inUse, otherTable, notOurs})
        writeFile(path, "halb");
    // A running save holds its temporary file locked.
    int lockPipe[2];
    ASSERT_EQ(::pipe(lockPipe), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(inUse.c_str(), O_RDONLY);
        ::flock(fd, LOCK_EX);
        char c = 0;
        (void)!::write(lockPipe[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(lockPipe[0], &c, 1), 1);
    ASSERT_TRUE(newDoc->Speichern(target));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(lockPipe[0]);
    ::close(lockPipe[1]);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(inUse));
    EXPECT_TRUE(fs::exists(otherTable));
    EXPECT_TRUE(fs::exists(notOurs));
    // Once its save is gone, the next save removes it too.
    ASSERT_TRUE(newDoc->Speichern(target));
    EXPECT_FALSE(fs::exists(inUse));
}

TEST_F(SafeSave, PipesDevicesAndFoldersAreNeverOpenedAsTables)
{
    // Opening a named pipe for reading waits for a writer: none of these may even try.
    const std::string pipe = folder.file("Pipe.cho");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const std::string directory = folder.file("Ordner.cho");
    fs::create_directory(directory);
    for (const std::string& path : {pipe, std::string("/dev/null"), std::string("/dev/zero"), directory}) {
        auto doc = fullTable(3);
        char kopf[5];
        EXPECT_FALSE(AkkordDepotClass::KopfLesen(path, kopf)) << path;
        EXPECT_EQ(doc->Laden(path), LadenKeineDatei) << path;
        EXPECT_EQ(doc->Anzahl(), 3) << path;
        EXPECT_EQ(doc->Retten(path), -1) << path;
        EXPECT_FALSE(AkkordDepotClass::Konvertieren(path)) << path;
        EXPECT_FALSE(doc->Speichern(path)) << path;
        EXPECT_EQ(doc->SpeicherFehler(), EISDIR) << path;
    }
    EXPECT_EQ(dateiArt(pipe), DateiArt::Pipe);
    EXPECT_EQ(dateiArt("/dev/null"), DateiArt::Geraet);
    EXPECT_EQ(dateiArt(directory), DateiArt::Ordner);
    EXPECT_EQ(dateiArt(target), DateiArt::Datei);
    EXPECT_EQ(dateiArt(folder.file("fehlt.cho")), DateiArt::Fehlt);
    EXPECT_TRUE(fs::is_fifo(pipe)) << "the pipe is still a pipe";
}
