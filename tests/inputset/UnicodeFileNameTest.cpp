#include "korvelin/FileName.h"
#include "korvelin/InputSetFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace korvelin {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A folder of its own under the system's temporary folder, named in a script that no ANSI code
// page of Windows holds.
class UnicodeFileName : public testing::Test
{
protected:
    void SetUp() override
    {
        Base = fs::temp_directory_path() / ("korvelin-names-" + std::to_string(std::random_device()()));
        Folder = Base / FileSystemPath("Қазақ");
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Base); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(Folder)) {
            names.push_back(Utf8(entry.path().filename()));
        }
        return names;
    }

    fs::path Base;
    fs::path Folder;
};

// Saved, read back and saved over, the file keeps exactly its name: no letter is replaced by a
// look-alike of the code page and no temporary file stays beside it.
TEST_F(UnicodeFileName, SetIsSavedReadAndReplacedUnderItsOwnName)
{
    const std::string name = "Пролёт №1 — Müller.korvelin";
    const std::string path = Utf8(Folder / FileSystemPath(name));
    InputSet first = StartUpInputSet();
    ASSERT_EQ(WriteInputSetFile(path, first), "");
    EXPECT_EQ(Names(), std::vector<std::string>{name});
    InputSetReading reading = ReadInputSetFile(path);
    ASSERT_TRUE(reading.Set) << reading.Message;
    EXPECT_EQ(*reading.Set, first);

    InputSet second = first;
    second.Texts.OuterDiameter = "159";
    second.Texts.WallThickness = "4,5";
    second.Indexes.SnowRegion = 4;
    ASSERT_EQ(WriteInputSetFile(path, second), "");
    EXPECT_EQ(Names(), std::vector<std::string>{name});
    reading = ReadInputSetFile(path);
    ASSERT_TRUE(reading.Set) << reading.Message;
    EXPECT_EQ(*reading.Set, second);
}

// The messages name the file as the user typed it.
TEST_F(UnicodeFileName, MessagesNameTheFileUnchanged)
{
    const std::string missing = Utf8(Folder / FileSystemPath("Нет такого — №2.korvelin"));
    EXPECT_EQ(ReadInputSetFile(missing).Message, "Не удалось открыть файл «" + missing + "»: файл не найден.");
    const std::string noFolder = Utf8(Folder / FileSystemPath("Өзен") / FileSystemPath("Пролёт.korvelin"));
    EXPECT_EQ(WriteInputSetFile(noFolder, StartUpInputSet()),
              "Не удалось сохранить файл «" + noFolder + "»: папка не найдена.");
    EXPECT_TRUE(Names().empty());
}

#ifdef _WIN32
TEST(WideFileName, ConvertsUtf8AndRefusesOtherBytes)
{
    EXPECT_EQ(WideFileName("Қазақ\\Пролёт №1 — Müller.korvelin"), L"Қазақ\\Пролёт №1 — Müller.korvelin");
    EXPECT_EQ(Utf8FromWide(L"Қазақ\\Пролёт №1 — Müller.korvelin"), "Қазақ\\Пролёт №1 — Müller.korvelin");
    EXPECT_EQ(WideFileName(""), L"");
    for (const char* bytes : {"\xcf\xf0\xee\xeb\xe5\xf2.korvelin", "\xd0", "a\xed\xa0\x80z"}) {
        EXPECT_FALSE(WideFileName(bytes)) << bytes;
    }
    EXPECT_FALSE(WideFileName(std::string("a\0b", 3)));
}

// Bytes that are not UTF-8 (here the ANSI code page's «Пролет») are refused, not guessed at.
TEST_F(UnicodeFileName, NameThatIsNotUtf8IsRefused)
{
    const std::string path = Utf8(Folder) + "\\\xcf\xf0\xee\xeb\xe5\xf2.korvelin";
    EXPECT_EQ(WriteInputSetFile(path, StartUpInputSet()),
              "Не удалось сохранить файл «" + path + "»: имя файла не в кодировке UTF-8.");
    EXPECT_EQ(ReadInputSetFile(path).Message,
              "Не удалось открыть файл «" + path + "»: имя файла не в кодировке UTF-8.");
    EXPECT_TRUE(Names().empty());
}
#endif

}  // namespace
}  // namespace korvelin
