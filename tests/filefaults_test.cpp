// What the file routines do with what is not a data file, with files that are not the saver's
// to replace, with the leftovers of killed saves, and with state files that cannot be read or
// cannot be written where they were.
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utime.h>

#include <gtest/gtest.h>

#include "cards/magnetic/magneticcard.h"
#include "cards/marked/cardstack.h"
#include "common/atomicfile.h"
#include "common/images.h"
#include "common/programfiles.h"
#include "common/statefiles.h"
#include "engine/null_host.h"
#include "memexp/memoryfile.h"
#include "panel/machinestate.h"
#include "panel/printermodel.h"
#include "panel/settings.h"
#include "panel_test_util.h"
#include "plotter/plotfile.h"
#include "viewer/listing.h"

namespace orrindale {
namespace {

using testing::ReadRaw;
using testing::TempFolder;
using testing::WriteRaw;

bool IsRoot() {
    return ::geteuid() == 0;
}

// ---- Every reader against what is no data file -------------------------------------------------

struct Reader {
    const char* name;
    std::size_t limit; // the most bytes it takes
    std::function<bool(const std::string&)> read;
};

bool ReadList(const std::string& path, const TextListLimits& limits) {
    TextList lines;
    return LoadScrambledTextList(path, lines, limits);
}

const std::vector<Reader>& Readers() {
    static const std::vector<Reader> readers = {
        {"listing", listing::kMaxListingBytes,
         [](const std::string& p) {
             std::vector<std::string> lines;
             return listing::ReadListingFile(p, lines);
         }},
        {"card file", kCardFileLimits.MaxBytes,
         [](const std::string& p) {
             return TMagneticCard().LoadCardFile(p, false) != CardLoad::Unreadable;
         }},
        {"card stack", kStackFileLimits.MaxBytes,
         [](const std::string& p) {
             CardLines cards;
             return TCardStack().LoadStackFile(p, cards);
         }},
        {"plot file", kPlotFileLimits.MaxBytes,
         [](const std::string& p) { return ReadList(p, kPlotFileLimits); }},
        {"memory file", kMemoryFileLimits.MaxBytes,
         [](const std::string& p) {
             MemoryImage image;
             return LoadMemoryFile(p, image) != MemoryLoad::Unreadable;
         }},
        {"panel settings", kSettingsFileLimits.MaxBytes,
         [](const std::string& p) {
             PanelSettings settings;
             return LoadSettings(p, settings);
         }},
        {"machine state", kMachineStateFileLimits.MaxBytes,
         [](const std::string& p) {
             NullEngineHost host;
             Calculator calc{host};
             return LoadMachineState(p, calc);
         }},
        {"paper roll", printer::kRollFileLimits.MaxBytes,
         [](const std::string& p) { return ReadList(p, printer::kRollFileLimits); }},
        {"plotter and memory switches", kSettingsListLimits.MaxBytes,
         [](const std::string& p) { return ReadList(p, kSettingsListLimits); }},
        {"picture", kMaxDataFileBytes,
         [](const std::string& p) {
             RgbaImage image;
             return LoadScrambledPng(p, image);
         }},
    };
    return readers;
}

// Each would block, never end, read as nothing or fill the memory if it were read; each is
// refused without a byte read (a read of the FIFO would wait for ever, of /dev/zero never end).
TEST(HostileFiles, EveryReaderRefusesFifoDeviceFolderAndOversizedFile) {
    TempFolder dir;
    const std::string fifo = dir.File("pipe.txt"), zero = dir.File("zero.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    for (const Reader& reader : Readers()) {
        SCOPED_TRACE(reader.name);
        const std::string big = dir.File(std::string(reader.name) + ".big");
        WriteRaw(big, "");
        ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(reader.limit + 1)), 0); // sparse
        for (const std::string& path : {fifo, zero, dir.Path().string(), big})
            EXPECT_FALSE(reader.read(path)) << path;
    }
}

TEST(HostileFiles, ALinkToARegularFileIsRead) {
    TempFolder dir;
    WriteRaw(dir.File("prog.txt"), "+0.0 33 Add\r\n");
    ASSERT_EQ(::symlink("prog.txt", dir.File("link.txt").c_str()), 0);
    std::vector<std::string> lines;
    ASSERT_TRUE(listing::ReadListingFile(dir.File("link.txt"), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"+0.0 33 Add"});
}

// ---- Saving over what is there ------------------------------------------------------------------

TEST(SaveOver, AReadOnlyFileIsNotReplaced) {
    if (IsRoot()) GTEST_SKIP() << "root may write any file, read-only or not";
    TempFolder dir;
    const std::string path = dir.File("card.mcf");
    WriteRaw(path, "theirs");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WriteFileAtomically(path, "mine"));
    EXPECT_EQ(ReadRaw(path), "theirs");
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(SaveOver, ALinkIsFollowedAndStaysALink) {
    TempFolder dir;
    std::filesystem::create_directory(dir.File("real"));
    WriteRaw(dir.File("real/card.mcf"), "old");
    ASSERT_EQ(::symlink("real/card.mcf", dir.File("link.mcf").c_str()), 0);
    ASSERT_EQ(::symlink("link.mcf", dir.File("link2.mcf").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.File("link2.mcf"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.mcf")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2.mcf")));
    EXPECT_EQ(ReadRaw(dir.File("real/card.mcf")), "new");
    // A link to a file not there yet makes that file.
    ASSERT_EQ(::symlink("real/later.mcf", dir.File("later.mcf").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.File("later.mcf"), "first"));
    EXPECT_EQ(ReadRaw(dir.File("real/later.mcf")), "first");
    // A loop of links names no file.
    ASSERT_EQ(::symlink("loop.mcf", dir.File("loop.mcf").c_str()), 0);
    EXPECT_FALSE(WriteFileAtomically(dir.File("loop.mcf"), "x"));
}

TEST(SaveOver, TheModeAndWhereAllowedTheOwnerAreKept) {
    TempFolder dir;
    const std::string path = dir.File("plot.ptf");
    WriteRaw(path, "old");
    ::chmod(path.c_str(), 0640);
    // Only root may give a file away; anyone else keeps a file of their own as it was.
    const uid_t owner = IsRoot() ? 65534 : ::geteuid();
    const gid_t group = IsRoot() ? 65534 : ::getegid();
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
}

// ---- Leftovers of killed saves ------------------------------------------------------------------

void Age(const std::string& path, int seconds) {
    const utimbuf times{::time(nullptr) - seconds, ::time(nullptr) - seconds};
    ::utime(path.c_str(), &times);
}

// A save takes away the old leftovers of its own name, even one that fails; the start those of
// every state file, in the program folder and in the data folder alike. Young ones (a save under
// way) and those of other names stay, and no folder is made.
TEST(Leftovers, OldOnesOfTheFileAtHandGoAndNothingElse) {
    using Leftovers = std::vector<std::tuple<std::string, bool, bool>>; // path, old, goes
    Leftovers inProgramFolder, inBothFolders;
    for (const char* name : files::kStateFiles) {
        inProgramFolder.emplace_back(std::string(name) + ".tmp-a1b2c3", true, true);
        inBothFolders.emplace_back(std::string(name) + ".tmp-d4e5f6", true, true);
        inBothFolders.emplace_back("data/" + std::string(name) + ".tmp-a1b2c3", true, true);
    }
    for (const std::string folder : {"", "data/"}) {
        inBothFolders.emplace_back(folder + "cce9B.ini.tmp-young1", false, false);
        inBothFolders.emplace_back(folder + "card.mcf.tmp-old123", true, false);
        inBothFolders.emplace_back(folder + "pvpt.dat.tmp-", true, false);
    }
    auto start = [](std::size_t expected) {
        return [expected](TempFolder& dir) {
            const std::string program = dir.Path().string() + "/";
            const bool hadData = std::filesystem::exists(program + "data");
            StateFiles state(program, program + "data/", true);
            EXPECT_EQ(state.RemoveLeftovers(), static_cast<int>(expected));
            EXPECT_EQ(std::filesystem::exists(program + "data"), hadData);
        };
    };
    const struct {
        const char* when;
        Leftovers leftovers;
        std::function<void(TempFolder&)> act;
    } cases[] = {
        {"saving card.mcf",
         {{"card.mcf.tmp-old123", true, true},
          {"card.mcf.tmp-young1", false, false},
          {"other.mcf.tmp-abcdef", true, false},
          {"card.mcf.tmp-toolong", true, false},
          {"card.mcf.tmp-short", true, false}},
         [](TempFolder& dir) { ASSERT_TRUE(WriteFileAtomically(dir.File("card.mcf"), "saved")); }},
        {"saving card.mcf on a full disk",
         {{"card.mcf.tmp-old123", true, true}, {"card.mcf.tmp-young1", false, false}},
         [](TempFolder& dir) {
             testing::FullDisk full(2);
             EXPECT_FALSE(WriteFileAtomically(dir.File("card.mcf"), "saved"));
         }},
        {"the start", inProgramFolder, start(inProgramFolder.size())},
        {"the start with a data folder", inBothFolders, start(2 * std::size(files::kStateFiles))},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        for (const auto& [name, old, goes] : c.leftovers) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.File(name)).parent_path());
            WriteRaw(dir.File(name), "x");
            if (old) Age(dir.File(name), 120);
        }
        c.act(dir);
        for (const auto& leftover : c.leftovers)
            EXPECT_EQ(std::filesystem::exists(dir.File(std::get<0>(leftover))),
                      !std::get<2>(leftover))
                << c.when << ": " << std::get<0>(leftover);
    }
}

// ---- State files -------------------------------------------------------------------------------

TEST(StateFiles, ADamagedFileIsPutAsideReplacingAnOlderCopyAndToldOnce) {
    TempFolder dir;
    const std::string program = dir.Path().string() + "/";
    WriteRaw(program + "cif9B.ini", "damaged");
    WriteRaw(program + "cif9B.ini.damaged", "older");
    StateFiles state(program, program + "data/", true);
    state.LoadFailed("cif9B.ini");
    state.LoadFailed("pf9B.dat"); // missing: nothing to keep or say
    EXPECT_FALSE(std::filesystem::exists(program + "cif9B.ini"));
    EXPECT_EQ(ReadRaw(program + "cif9B.ini.damaged"), "damaged");
    const StateFiles::Notice told = state.TakeNotice();
    EXPECT_TRUE(told.FilesPutAside);
    const std::string& notice = told.Text;
    EXPECT_NE(notice.find("cif9B.ini: the old copy is " + program + "cif9B.ini.damaged"),
              std::string::npos)
        << notice;
    EXPECT_EQ(notice.find("pf9B.dat"), std::string::npos);
    EXPECT_EQ(state.TakeNotice().Text, "");
}

TEST(StateFiles, AReadOnlyProgramFolderSendsStateToTheDataFolder) {
    TempFolder dir;
    const std::string program = dir.Path().string() + "/", data = program + "home/data/";
    WriteRaw(program + "cce9B.ini", "in the program folder");
    // The folder is taken as read-only (root would write it whatever its mode says).
    StateFiles first(program, data, false);
    ASSERT_TRUE(first.InDataFolder());
    EXPECT_TRUE(std::filesystem::is_directory(data));
    EXPECT_EQ(first.ReadPath("cce9B.ini"), program + "cce9B.ini"); // until saved there
    EXPECT_EQ(first.SavePath("cce9B.ini"), data + "cce9B.ini");
    EXPECT_NE(first.TakeNotice().Text.find(data), std::string::npos);
    EXPECT_EQ(first.TakeNotice().Text, "");
    // A damaged file of the program folder stays where it is: the save goes elsewhere.
    first.LoadFailed("cce9B.ini");
    EXPECT_EQ(ReadRaw(program + "cce9B.ini"), "in the program folder");
    EXPECT_NE(first.TakeNotice().Text.find("the old copy is " + program + "cce9B.ini"),
              std::string::npos);

    WriteRaw(data + "cce9B.ini", "saved at close");
    StateFiles again(program, data, false);
    EXPECT_EQ(again.ReadPath("cce9B.ini"), data + "cce9B.ini");
    EXPECT_EQ(again.TakeNotice().Text, ""); // said at the first start only
    // A writable program folder keeps everything there.
    StateFiles writable(program, data, true);
    EXPECT_FALSE(writable.InDataFolder());
    EXPECT_EQ(writable.ReadPath("cce9B.ini"), program + "cce9B.ini");
}

// The data folder and each parent made for it are the user's alone whatever the umask; a
// folder already there keeps its mode.
TEST(StateFiles, TheDataFolderIsMadePrivate) {
    for (const mode_t mask : {0000, 0022, 0077, 0277}) {
        TempFolder dir;
        const std::string home = dir.File("home");
        ASSERT_EQ(::mkdir(home.c_str(), 0755), 0);
        ASSERT_EQ(::chmod(home.c_str(), 0755), 0);
        const mode_t oldMask = ::umask(mask);
        StateFiles state(dir.Path().string() + "/", home + "/.local/share/Orrindale/", false);
        ::umask(oldMask);
        const std::pair<const char*, mode_t> made[] = {{"", 0755},
                                                       {"/.local", 0700},
                                                       {"/.local/share", 0700},
                                                       {"/.local/share/Orrindale", 0700}};
        for (const auto& [folder, mode] : made) {
            struct stat st {};
            ASSERT_EQ(::stat((home + folder).c_str(), &st), 0) << folder;
            EXPECT_EQ(st.st_mode & 07777, mode) << folder << " umask " << mask;
        }
    }
}

} // namespace
} // namespace orrindale
