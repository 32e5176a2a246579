#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "LibraryTestSupport.h"
#include "ScriptTestSupport.h"
#include "vbscript/runtime/ScriptPaths.h"

using namespace qm::vbs;
using namespace qm::vbs::rttest;
namespace fs = std::filesystem;

namespace {

// Every test works in its own folder under the system temp folder, with the
// file-system object confined to <folder>/root. SetUp stops the test unless the
// confinement is in force, so nothing outside that folder can be touched.
class FileSystemFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("qm_fso_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        root = dir / "root";
        fs::remove_all(dir);
        fs::create_directories(root / "Saves");
        host.root = root.string();
        runner = std::make_unique<ScriptRunner>(&host);
        ASSERT_EQ(runner->exec("Set fso = CreateObject(\"Scripting.FileSystemObject\")"), "");
        ASSERT_EQ(runner->eval("fso.GetAbsolutePathName(\".\")"), root.string());
        ASSERT_EQ(runner->eval("fso.GetAbsolutePathName(\"Saves\\..\\..\")"), "error 70");
    }
    void TearDown() override
    {
        runner.reset();
        if (dir.string().rfind(fs::temp_directory_path().string(), 0) == 0)
            fs::remove_all(dir);
    }

    std::string bytesOf(const std::string& name)
    {
        std::ifstream in(root / name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    fs::path dir, root;
    RecordingHost host;
    std::unique_ptr<ScriptRunner> runner;
};

} // namespace

TEST_F(FileSystemFixture, WriteThenReadTextLines)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("Set f = fso.CreateTextFile(\"Saves\\notes.txt\")\nf.WriteLine \"caf\u00e9 \u20ac1\"\n"
                     "f.Write \"second\"\nf.WriteBlankLines 1\nf.Close"),
              "");
    EXPECT_EQ(bytesOf("Saves/notes.txt"), "caf\xE9 \x80" "1\r\nsecond\r\n");
    EXPECT_EQ(r.exec("Set f = fso.OpenTextFile(\"SAVES\\NOTES.TXT\")"), "");
    EXPECT_EQ(r.eval("f.ReadLine"), "caf\u00e9 \u20ac1");
    EXPECT_EQ(r.eval("f.Line"), "2");
    EXPECT_EQ(r.eval("f.Read(3)"), "sec");
    EXPECT_EQ(r.eval("f.Column"), "4");
    EXPECT_EQ(r.eval("f.ReadAll"), "ond\r\n");
    EXPECT_EQ(r.eval("f.AtEndOfStream"), "True");
    EXPECT_EQ(r.eval("f.ReadLine"), "error 62");
    EXPECT_EQ(r.exec("f.Write \"x\""), "error 54");
}

TEST_F(FileSystemFixture, AppendUnicodeAndMissingFiles)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("Set f = fso.OpenTextFile(\"log.txt\", 8, True, -1)\nf.Write \"ab\"\nf.Close\n"
                     "Set f = fso.OpenTextFile(\"log.txt\", 8, False, -2)\nf.Write \"c\"\nf.Close"),
              "");
    EXPECT_EQ(bytesOf("log.txt"), std::string("\xFF\xFE" "a\0b\0c\0", 8));
    EXPECT_EQ(r.eval("fso.OpenTextFile(\"log.txt\", 1, False, -2).ReadAll"), "abc");
    EXPECT_EQ(r.exec("Set g = fso.OpenTextFile(\"missing.txt\")"), "error 53");
    EXPECT_EQ(r.exec("Set g = fso.OpenTextFile(\"log.txt\", 3)"), "error 5");
    EXPECT_EQ(r.exec("Set g = fso.CreateTextFile(\"log.txt\", False)"), "error 58");
}

TEST_F(FileSystemFixture, ConfinedToTheRootFolder)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("Set f = fso.CreateTextFile(\"..\\escape.txt\")"), "error 70");
    EXPECT_EQ(r.exec("Set f = fso.OpenTextFile(\"/etc/passwd\")"), "error 70");
    EXPECT_EQ(r.exec("fso.DeleteFolder \"Saves\\..\\..\""), "error 70");
    EXPECT_EQ(r.exec("fso.DeleteFolder \".\""), "error 70");
    EXPECT_EQ(r.eval("fso.FileExists(\"..\\..\\etc\\passwd\")"), "False");
    EXPECT_FALSE(fs::exists(dir / "escape.txt"));
    EXPECT_TRUE(fs::exists(root / "Saves"));
    EXPECT_EQ(r.eval("fso.FolderExists(\"saves\")"), "True");
    EXPECT_EQ(r.eval("fso.GetFolder(\".\").IsRootFolder"), "True");
}

TEST_F(FileSystemFixture, FilesFoldersCopyMoveDelete)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("fso.CreateTextFile(\"a.txt\").Write \"12345\"\nfso.CopyFile \"a.txt\", \"Saves\\\"\n"
                     "fso.CopyFile \"a.txt\", \"b.txt\"\nfso.MoveFile \"b.txt\", \"Saves\\c.txt\""),
              "");
    EXPECT_EQ(r.eval("fso.FileExists(\"saves\\A.TXT\")"), "True");
    EXPECT_EQ(r.eval("fso.FileExists(\"b.txt\")"), "False");
    EXPECT_EQ(r.exec("Set fo = fso.GetFolder(\"Saves\")"), "");
    EXPECT_EQ(r.eval("fo.Files.Count"), "2");
    EXPECT_EQ(r.eval("fo.Name"), "Saves");
    EXPECT_EQ(r.exec("s = \"\"\nFor Each x In fo.Files\n s = s & x.Name & \":\" & x.Size & \";\"\nNext"), "");
    EXPECT_EQ(r.eval("s"), "a.txt:5;c.txt:5;");
    EXPECT_EQ(r.eval("fo.Files(\"C.TXT\").Type"), "TXT File");
    EXPECT_EQ(r.eval("fso.GetFile(\"a.txt\").ParentFolder.IsRootFolder"), "True");
    EXPECT_EQ(r.eval("TypeName(fso.GetFile(\"a.txt\").DateLastModified)"), "Date");
    EXPECT_EQ(r.exec("fso.CopyFile \"a.txt\", \"Saves\\c.txt\", False"), "error 58");
    EXPECT_EQ(r.exec("fso.CreateFolder \"Saves\\Deep\"\nfso.CreateFolder \"Saves\\Deep\""), "error 58");
    EXPECT_EQ(r.eval("fo.SubFolders.Count"), "1");
    EXPECT_EQ(r.exec("fso.CreateFolder \"No\\Such\\Place\""), "error 76");
    EXPECT_EQ(r.exec("fso.DeleteFile \"Saves\\*.txt\""), "");
    EXPECT_EQ(r.eval("fo.Files.Count"), "0");
    EXPECT_EQ(r.exec("fso.DeleteFile \"Saves\\*.txt\""), "error 53");
    EXPECT_EQ(r.exec("fso.DeleteFolder \"Saves\""), "");
    EXPECT_EQ(r.eval("fso.FolderExists(\"Saves\")"), "False");
    EXPECT_EQ(r.exec("Set x = fso.GetFolder(\"Saves\")"), "error 76");
    EXPECT_EQ(r.exec("Set x = fso.GetFile(\"nope.txt\")"), "error 53");
}

TEST(ScriptPathStrings, NamePartsWithoutFileAccess)
{
    using namespace qm::vbs::rt;
    EXPECT_EQ(pathFileName(u"C:\\Game\\Saves\\one.sav"), u"one.sav");
    EXPECT_EQ(pathBaseName(u"C:\\Game\\archive.tar.gz"), u"archive.tar");
    EXPECT_EQ(pathExtension(u"C:\\Game\\archive.tar.gz"), u"gz");
    EXPECT_EQ(pathExtension(u"C:\\Game\\README"), u"");
    EXPECT_EQ(pathParent(u"C:\\Game\\Saves\\"), u"C:\\Game");
    EXPECT_EQ(pathParent(u"C:\\Game"), u"C:\\");
    EXPECT_EQ(pathParent(u"file.txt"), u"");
    EXPECT_EQ(pathDrive(u"c:\\x"), u"c:");
    EXPECT_EQ(pathDrive(u"\\x"), u"");
    EXPECT_EQ(pathJoin(u"C:\\Game", u"x.txt"), u"C:\\Game\\x.txt");
    EXPECT_EQ(pathJoin(u"C:\\Game\\", u"x.txt"), u"C:\\Game\\x.txt");
    EXPECT_EQ(pathJoin(u"/home/game", u"x.txt"), u"/home/game/x.txt");
}

TEST(FileSystemSafety, UnconfinedDeleteRefusesFoldersHoldingTheWorkingFolder)
{
    fs::path scratch = fs::temp_directory_path() / ("qm_fso_cwd_" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch / "work" / "inner");
    fs::path previous = fs::current_path();
    fs::current_path(scratch / "work" / "inner");
    ASSERT_EQ(fs::current_path(), fs::canonical(scratch / "work" / "inner"));
    {
        RecordingHost host; // no root: scripts see the whole file system
        ScriptRunner r(&host);
        ASSERT_EQ(r.exec("Set fso = CreateObject(\"Scripting.FileSystemObject\")"), "");
        EXPECT_EQ(r.exec("fso.DeleteFolder \"..\""), "error 70");
        EXPECT_EQ(r.exec("fso.DeleteFolder \".\""), "error 70");
        EXPECT_EQ(r.exec("fso.GetFolder(\"..\\..\").Delete"), "error 70");
        EXPECT_EQ(r.exec("fso.MoveFolder \"..\", \"elsewhere\""), "error 70");
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(scratch / "work" / "inner"));
    fs::remove_all(scratch);
}
