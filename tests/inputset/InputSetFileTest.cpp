#include "korvelin/InputSetFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvelin {
namespace {

namespace fs = std::filesystem;

class InputSetFile : public testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("korvelin-inputset-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path path = Dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::size_t FilesInDir() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
    }

    fs::path Dir;
};

TEST_F(InputSetFile, WrittenSetReadsBack)
{
    InputSet set = StartUpInputSet();
    set.SteelGrade = 6;
    set.Texts.UltimateStrength = "400";
    set.Texts.YieldStrength = "250";
    set.RouteLength = "1200";
    const std::string path = (Dir / "труба.korvelin").string();
    EXPECT_EQ(WriteInputSetFile(path, set), "");
    const InputSetReading reading = ReadInputSetFile(path);
    ASSERT_TRUE(reading.Set) << reading.Message;
    EXPECT_EQ(*reading.Set, set);
    EXPECT_EQ(Contents(path), SerializeInputSet(set));
    EXPECT_EQ(FilesInDir(), 1u);

    // A new file gets the permissions of the umask; a file replaced keeps its own.
    const mode_t mask = ::umask(022);
    const std::string fresh = (Dir / "new.korvelin").string();
    EXPECT_EQ(WriteInputSetFile(fresh, set), "");
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0644));
    ::chmod(fresh.c_str(), 0600);
    EXPECT_EQ(WriteInputSetFile(fresh, StartUpInputSet()), "");
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0600));
    ::umask(mask);
}

TEST_F(InputSetFile, FilesThatCannotBeReadNameTheFileAndTheProblem)
{
    const std::string folder = Dir.string();
    const std::string missing = (Dir / "нет.korvelin").string();
    const std::string empty = Write("empty.korvelin", "");
    const std::string large = Write("large.korvelin", std::string(kMaxInputSetFileSize + 1, ' '));
    const std::string text = Write("notes.korvelin", "Труба 89x3,2\n");
    const std::string pipe = (Dir / "pipe.korvelin").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder, "это папка, а не файл"},
        {missing, "файл не найден"},
        {empty, "файл пуст"},
        {large, "файл больше 1024 КиБ, а файл исходных данных много меньше"},
        {text, "это не JSON (ошибка в байте 1)"},
        {pipe, "это не обычный файл"},
        {(Dir / "notes.korvelin" / "x").string(), "часть пути — не папка"},
    };
    for (const auto& [path, problem] : cases) {
        const InputSetReading reading = ReadInputSetFile(path);
        EXPECT_FALSE(reading.Set) << path;
        EXPECT_EQ(reading.Message, "Не удалось открыть файл «" + path + "»: " + problem + ".");
    }
    // A file of exactly the limit is read and then judged by its contents.
    const std::string atLimit = Write("limit.korvelin", std::string(kMaxInputSetFileSize, ' '));
    EXPECT_EQ(ReadInputSetFile(atLimit).Message,
              "Не удалось открыть файл «" + atLimit + "»: это не JSON (ошибка в байте 1048577).");

    if (::geteuid() != 0) {  // permissions do not stop the superuser
        const std::string locked = Write("locked.korvelin", "{}");
        ::chmod(locked.c_str(), 0);
        EXPECT_EQ(ReadInputSetFile(locked).Message,
                  "Не удалось открыть файл «" + locked + "»: нет прав доступа.");
    }
}

TEST_F(InputSetFile, FailedSaveLeavesTheOldFileIntact)
{
    const std::string path = Write("old.korvelin", SerializeInputSet(StartUpInputSet()));
    const std::string before = Contents(path);
    InputSet set = StartUpInputSet();
    set.PipeTable = std::vector<PipeTableRow>(500, PipeTableRow{"89", "3,2"});

    // The system refuses a file over 100 bytes: the write of the temporary file fails.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = WriteInputSetFile(path, set);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(message, "Не удалось сохранить файл «" + path + "»: файл больше, чем допускает система.");
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(FilesInDir(), 1u);  // no temporary file stays behind

    const std::string folder = Dir.string();
    EXPECT_EQ(WriteInputSetFile(folder, set), "Не удалось сохранить файл «" + folder + "»: это папка, а не файл.");
    const std::string nowhere = (Dir / "нет" / "a.korvelin").string();
    EXPECT_EQ(WriteInputSetFile(nowhere, set), "Не удалось сохранить файл «" + nowhere + "»: папка не найдена.");

    InputSet invalid = StartUpInputSet();
    invalid.Texts.Pressure = "много";
    EXPECT_EQ(WriteInputSetFile(path, invalid),
              "Не удалось сохранить файл «" + path + "»: в поле «Давление в трубопроводе» записано «много», а в "
              "это поле можно ввести только цифры и одну десятичную запятую.");
    EXPECT_EQ(Contents(path), before);
}

TEST_F(InputSetFile, SaveThroughALinkReplacesTheFileItNames)
{
    const std::string real = Write("real.korvelin", "old");
    const std::string link = (Dir / "link.korvelin").string();
    fs::create_symlink(real, link);
    EXPECT_EQ(WriteInputSetFile(link, StartUpInputSet()), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(real), SerializeInputSet(StartUpInputSet()));
}

}  // namespace
}  // namespace korvelin
