// Game folders copied from old Windows disks name files in raw Windows-1252
// bytes, games unpacked from old zip archives in raw DOS code page 437 bytes.
// Scripts see such names as text and reach the files again by that text,
// whether they took it from a listing or typed it.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "LibraryTestSupport.h"
#include "ScriptTestSupport.h"
#include "vbscript/runtime/DiskNames.h"

using namespace qm::vbs;
using namespace qm::vbs::rttest;
namespace fs = std::filesystem;

namespace {

// "Café.txt", "Résumé" and "naïve.txt" as a Windows disk writes them.
const std::string kCafe = "Caf\xE9.txt";
const std::string kResume = "R\xE9sum\xE9";
const std::string kNaive = "na\xEFve.txt";

// Each test works in its own folder under the system temp folder; the
// file-system object is confined to <folder>/<root>, whose name is in raw
// bytes for the tests that ask for it. SetUp stops the test unless the
// confinement is in force.
class RawNamesFixture : public ::testing::Test {
protected:
    void SetUp() override { start("root"); }
    void start(const std::string& rootName)
    {
        runner.reset();
        dir = fs::temp_directory_path() / ("qm_fso_raw_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(dir.string().rfind(fs::temp_directory_path().string(), 0), 0u);
        fs::remove_all(dir);
        root = dir / rootName;
        fs::create_directories(root / kResume);
        fs::create_directories(root / "Saves");
        write(root / kCafe, "menu\r\n");
        write(root / kResume / kNaive, "idea\r\n");
        host.root = root.string();
        runner = std::make_unique<ScriptRunner>(&host);
        ASSERT_EQ(runner->exec("Set fso = CreateObject(\"Scripting.FileSystemObject\")"), "");
        ASSERT_EQ(runner->eval("fso.GetAbsolutePathName(\"..\")"), "error 70");
    }
    void TearDown() override
    {
        runner.reset();
        if (dir.string().rfind(fs::temp_directory_path().string(), 0) == 0)
            fs::remove_all(dir);
    }
    static void write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
    static std::string read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        if (!in)
            return "<missing>";
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::set<std::string> entries(const fs::path& folder)
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.insert(e.path().filename().string());
        return names;
    }

    fs::path dir, root;
    RecordingHost host;
    std::unique_ptr<ScriptRunner> runner;
};

} // namespace

TEST(DiskNamesTest, Utf8NamesStayOtherBytesReadAsWindows1252)
{
    using namespace qm::vbs::rt;
    EXPECT_EQ(diskNameText("Caf\xC3\xA9.txt"), u"Caf\u00e9.txt");
    EXPECT_EQ(diskNameText(kCafe), u"Caf\u00e9.txt");
    EXPECT_EQ(diskNameText("\xA9 \xB0"), u"\u00a9 \u00b0");  // no letters in either code page: a tie
    // Forms that only look like UTF-8 are raw bytes: overlong, a surrogate, cut short.
    EXPECT_FALSE(isUtf8Name("\xC0\xAF"));
    EXPECT_FALSE(isUtf8Name("\xED\xA0\x80"));
    EXPECT_FALSE(isUtf8Name("ab\xC3"));
    EXPECT_TRUE(isUtf8Name("\xF0\x9F\x8E\xB2"));
    // Each name of a path is read on its own.
    EXPECT_EQ(diskPathText("/g/Caf\xC3\xA9/" + kResume), u"/g/Caf\u00e9/R\u00e9sum\u00e9");
    EXPECT_TRUE(diskNameMatches(kCafe, u"CAF\u00c9.TXT"));
    EXPECT_FALSE(diskNameMatches(kCafe, u"Cafe.txt"));
}

TEST(DiskNamesTest, DosNamesReadInCodePage437WhenThatReadsAsMoreLetters)
{
    using namespace qm::vbs::rt;
    EXPECT_EQ(diskNameText("\x90glise.txt"), u"\u00c9glise.txt");  // "Église", not a control and "glise"
    EXPECT_EQ(diskNameText("M\x84" "dchen"), u"M\u00e4dchen");
    EXPECT_EQ(diskNameText("\x80 \x81"), u"\u00c7 \u00fc");  // an undefined Windows code tips it
    // A name's Windows letters win over Greek or lines in code page 437, and a tie.
    EXPECT_EQ(diskNameText(kNaive), u"na\u00efve.txt");
    EXPECT_EQ(diskNameText("\xE9"), u"\u00e9");
    // UTF-8 sequences inside a raw name stay text; the other bytes decide alone.
    EXPECT_EQ(diskNameText("Caf\xC3\xA9 \x82t\x82"), u"Caf\u00e9 \u00e9t\u00e9");
    EXPECT_EQ(diskPathText("/g/\x90t\x82/" + kResume), u"/g/\u00c9t\u00e9/R\u00e9sum\u00e9");
    // Either whole reading finds the name, as the player's own look-ups do.
    EXPECT_TRUE(diskNameMatches("\x90glise.txt", u"\u00c9GLISE.txt"));
    EXPECT_TRUE(diskNameMatches("\x90glise.txt", u"\u0090glise.txt"));
    EXPECT_TRUE(diskNameMatches(kNaive, u"na\u2229ve.txt"));
    EXPECT_FALSE(diskNameMatches("\x90glise.txt", u"Eglise.txt"));
    EXPECT_FALSE(diskNameMatches("Caf\xC3\xA9.txt", u"Caf\u251c\u00a9.txt"));  // UTF-8 has one reading
}

TEST_F(RawNamesFixture, ListingsShowReadableNames)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("Set fo = fso.GetFolder(\".\")\ns = \"\"\nFor Each x In fo.Files\n s = s & x.Name & \";\"\nNext\n"
                     "For Each x In fo.SubFolders\n s = s & x.Name & \"|\" & fso.GetFileName(x.Path) & \";\"\nNext"),
              "");
    EXPECT_EQ(r.eval("s"), "Caf\u00e9.txt;R\u00e9sum\u00e9|R\u00e9sum\u00e9;Saves|Saves;");
    EXPECT_EQ(r.eval("fso.GetFile(\"" "Caf\u00e9.txt\").Type"), "TXT File");
    EXPECT_EQ(r.eval("fso.GetFolder(\"R\u00e9sum\u00e9\").Files(\"NA\u00cfVE.TXT\").Name"), "na\u00efve.txt");
    EXPECT_EQ(r.eval("fo.SubFolders(\"r\u00e9sum\u00e9\").Files.Count"), "1");
}

TEST_F(RawNamesFixture, ListedAndTypedNamesReachTheFiles)
{
    ScriptRunner& r = *runner;
    // The names a listing gives, as they are.
    EXPECT_EQ(r.exec("For Each x In fso.GetFolder(\".\").SubFolders\n If x.Files.Count = 1 Then p = x.Path\nNext\n"
                     "For Each x In fso.GetFolder(p).Files\n q = x.Path\nNext"),
              "");
    EXPECT_EQ(r.eval("fso.OpenTextFile(q).ReadLine"), "idea");
    EXPECT_EQ(r.eval("fso.GetFile(q).Size"), "6");
    EXPECT_EQ(r.eval("fso.FileExists(fso.BuildPath(p, \"naive.txt\"))"), "False");
    EXPECT_EQ(r.eval("fso.FileExists(fso.BuildPath(p, fso.GetFileName(q)))"), "True");
    // Names typed in the script, in any letter case.
    EXPECT_EQ(r.eval("fso.FileExists(\"CAF\u00c9.TXT\")"), "True");
    EXPECT_EQ(r.eval("fso.FolderExists(\"r\u00e9sum\u00e9\")"), "True");
    EXPECT_EQ(r.eval("fso.OpenTextFile(\"r\u00e9sum\u00e9\\na\u00efve.txt\").ReadAll"), "idea\r\n");
    // Appending reaches the raw-named file; nothing is created beside it.
    EXPECT_EQ(r.exec("Set t = fso.OpenTextFile(\"caf\u00e9.txt\", 8)\nt.Write \"more\"\nt.Close"), "");
    EXPECT_EQ(read(root / kCafe), "menu\r\nmore");
    EXPECT_EQ(entries(root).size(), 3u);
}

TEST_F(RawNamesFixture, CopyMoveDeleteFindRawNamedFiles)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("fso.CopyFile \"Caf\u00e9.txt\", \"Saves\\copy.txt\"\nfso.CopyFile \"caf*.txt\", \"Saves\\\""), "");
    EXPECT_EQ(read(root / "Saves" / "copy.txt"), "menu\r\n");
    EXPECT_EQ(read(root / "Saves" / kCafe), "menu\r\n");  // a copy into a folder keeps the name's bytes
    EXPECT_EQ(r.exec("fso.MoveFile \"R\u00e9sum\u00e9\\na\u00efve.txt\", \"Saves\\\""), "");
    EXPECT_EQ(read(root / "Saves" / kNaive), "idea\r\n");
    EXPECT_EQ(r.exec("fso.DeleteFile \"Saves\\CAF\u00c9.txt\"\nfso.DeleteFolder \"r\u00e9sum\u00e9\""), "");
    EXPECT_EQ(entries(root / "Saves"), (std::set<std::string>{"copy.txt", kNaive}));
    EXPECT_FALSE(fs::exists(root / kResume));
    EXPECT_EQ(r.exec("fso.GetFile(\"Saves\\na\u00efve.txt\").Move \"moved.txt\""), "");
    EXPECT_EQ(read(root / "moved.txt"), "idea\r\n");
    EXPECT_EQ(r.exec("fso.DeleteFile \"Caf\u00e9.txt\""), "");
    EXPECT_FALSE(fs::exists(root / kCafe));
}

TEST_F(RawNamesFixture, NewFilesGetUtf8Names)
{
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("fso.CreateTextFile(\"Saves\\No\u00ebl.txt\").Write \"x\"\n"
                     "fso.GetFolder(\"R\u00e9sum\u00e9\").CreateTextFile(\"\u00e9t\u00e9.txt\").Write \"y\"\n"
                     "fso.CreateFolder \"Saves\\\u00c9t\u00e9\""),
              "");
    EXPECT_EQ(read(root / "Saves" / "No\xC3\xABl.txt"), "x");
    EXPECT_EQ(read(root / kResume / "\xC3\xA9t\xC3\xA9.txt"), "y");
    EXPECT_TRUE(fs::is_directory(root / "Saves" / "\xC3\x89t\xC3\xA9"));
    // Creating a file that exists under a raw name replaces that file.
    EXPECT_EQ(r.exec("fso.CreateTextFile(\"caf\u00e9.txt\", True).Write \"new\""), "");
    EXPECT_EQ(read(root / kCafe), "new");
    EXPECT_EQ(r.exec("Set t = fso.CreateTextFile(\"caf\u00e9.txt\", False)"), "error 58");
}

TEST_F(RawNamesFixture, ARawNamedRootIsSeenAsTextAndStaysTheLimit)
{
    start("Jeu \xE9t\xE9");
    ScriptRunner& r = *runner;
    const std::string shown = r.eval("fso.GetAbsolutePathName(\"Caf\u00e9.txt\")");
    EXPECT_EQ(shown, (dir / "Jeu \u00e9t\u00e9" / "Caf\u00e9.txt").string());
    EXPECT_EQ(r.eval("fso.FileExists(\"" + shown + "\")"), "True");
    EXPECT_EQ(r.eval("fso.GetFolder(\"" + (dir / "Jeu \u00e9t\u00e9").string() + "\").IsRootFolder"), "True");
    EXPECT_EQ(r.exec("fso.CreateTextFile(\"" + (dir / "Jeu \u00e9t\u00e9" / "Saves" / "s.txt").string() +
                     "\").Write \"z\""),
              "");
    EXPECT_EQ(read(root / "Saves" / "s.txt"), "z");
    // Outside the root stays out of reach, named either way.
    write(dir / "secret.txt", "s");
    EXPECT_EQ(r.eval("fso.FileExists(\"" + (dir / "secret.txt").string() + "\")"), "False");
    EXPECT_EQ(r.exec("fso.DeleteFile \"..\\secret.txt\""), "error 70");
    EXPECT_EQ(r.exec("fso.DeleteFile \"" + (dir / "Jeu \u00e9t\u00e9" / ".." / "secret.txt").string() + "\""),
              "error 70");
    EXPECT_TRUE(fs::exists(dir / "secret.txt"));
}

TEST_F(RawNamesFixture, ARawNamedLinkThatLeadsOutIsRefused)
{
    ScriptRunner& r = *runner;
    write(dir / "secret.txt", "s");
    fs::create_symlink(dir / "secret.txt", root / "S\xE9same.txt");
    fs::create_directory_symlink(dir, root / "D\xE9part");
    EXPECT_EQ(r.eval("fso.FileExists(\"s\u00e9same.txt\")"), "False");
    EXPECT_EQ(r.exec("Set t = fso.OpenTextFile(\"S\u00e9same.txt\", 2)"), "error 70");
    EXPECT_EQ(r.exec("fso.DeleteFile \"D\u00e9part\\secret.txt\""), "error 70");
    EXPECT_EQ(r.eval("fso.GetFolder(\".\").Files.Count"), "1");  // the link is not listed
    EXPECT_EQ(read(dir / "secret.txt"), "s");
}

TEST_F(RawNamesFixture, ANameTakenUnderRawBytesIsTaken)
{
    ScriptRunner& r = *runner;
    // Windows sees one name here: no second "Résumé" beside the first.
    EXPECT_EQ(r.exec("fso.GetFolder(\".\").SubFolders.Add \"r\u00e9sum\u00e9\""), "error 58");
    EXPECT_EQ(r.exec("fso.CreateTextFile(\"Saves\\a.txt\").Write \"a\""), "");
    EXPECT_EQ(r.exec("fso.GetFile(\"Saves\\a.txt\").Move \"b.txt\""), "");
    EXPECT_EQ(r.exec("fso.GetFile(\"b.txt\").Name = \"CAF\u00c9.TXT\""), "error 58");
    EXPECT_EQ(entries(root).size(), 4u);
    // Renaming a raw-named file gives it a UTF-8 name, and the folder's own
    // CreateTextFile reaches a raw-named file.
    EXPECT_EQ(r.exec("fso.GetFile(\"caf\u00e9.txt\").Name = \"Caf\u00e9.txt\""), "");
    EXPECT_EQ(read(root / "Caf\xC3\xA9.txt"), "menu\r\n");
    EXPECT_EQ(r.exec("fso.GetFolder(\"R\u00e9sum\u00e9\").CreateTextFile(\"NA\u00cfVE.txt\").Write \"z\""), "");
    EXPECT_EQ(read(root / kResume / kNaive), "z");
    EXPECT_EQ(entries(root / kResume).size(), 1u);
}

// "Église.txt" and the folder "Été" as an old zip archive stores them.
TEST_F(RawNamesFixture, DosNamedFilesAreSeenAndFoundByTheirText)
{
    const std::string kEglise = "\x90glise.txt";
    const std::string kEte = "\x90t\x82";
    write(root / kEglise, "nef\r\n");
    fs::create_directory(root / kEte);
    ScriptRunner& r = *runner;
    EXPECT_EQ(r.exec("s = \"\"\nFor Each x In fso.GetFolder(\".\").Files\n s = s & x.Name & \";\"\nNext\n"
                     "For Each x In fso.GetFolder(\".\").SubFolders\n s = s & x.Name & \";\"\nNext"),
              "");
    EXPECT_EQ(r.eval("s"), "Caf\u00e9.txt;\u00c9glise.txt;R\u00e9sum\u00e9;Saves;\u00c9t\u00e9;");
    EXPECT_EQ(r.eval("fso.GetFile(\"\u00e9glise.TXT\").Name & \" \" & fso.GetFile(\"\u00c9glise.txt\").Type"),
              "\u00c9glise.txt TXT File");
    // By the text a listing shows, or by the name's other reading.
    EXPECT_EQ(r.eval("fso.OpenTextFile(\"\u00c9GLISE.TXT\").ReadLine"), "nef");
    EXPECT_EQ(r.eval("fso.FileExists(\"\u0090glise.txt\")"), "True");
    EXPECT_EQ(r.eval("fso.FolderExists(\"R\u0398sum\u0398\")"), "True");  // a Windows name read as DOS
    EXPECT_EQ(r.eval("fso.FileExists(\"Eglise.txt\")"), "False");
    EXPECT_EQ(r.exec("fso.GetFolder(\"\u00e9t\u00e9\").CreateTextFile(\"a.txt\").Write \"a\""), "");
    EXPECT_EQ(read(root / kEte / "a.txt"), "a");
    // Written in place; the name is taken.
    EXPECT_EQ(r.exec("Set t = fso.OpenTextFile(\"\u00e9glise.txt\", 8)\nt.Write \"+\"\nt.Close"), "");
    EXPECT_EQ(read(root / kEglise), "nef\r\n+");
    EXPECT_EQ(r.exec("Set t = fso.CreateTextFile(\"\u00c9glise.txt\", False)"), "error 58");
    EXPECT_EQ(r.exec("fso.GetFolder(\".\").SubFolders.Add \"\u00c9T\u00c9\""), "error 58");
    EXPECT_EQ(entries(root).size(), 5u);
    EXPECT_EQ(r.exec("fso.DeleteFile \"\u00c9glise.txt\""), "");
    EXPECT_FALSE(fs::exists(root / kEglise));
}

TEST_F(RawNamesFixture, ADosNamedRootAndLinksStayTheLimit)
{
    start("Jeu \x82t\x82");  // "Jeu été"
    ScriptRunner& r = *runner;
    write(dir / "secret.txt", "s");
    fs::create_symlink(dir / "secret.txt", root / "\x90vasion.txt");
    const std::string shown = r.eval("fso.GetAbsolutePathName(\"Caf\u00e9.txt\")");
    EXPECT_EQ(shown, (dir / "Jeu \u00e9t\u00e9" / "Caf\u00e9.txt").string());
    EXPECT_EQ(r.eval("fso.FileExists(\"" + shown + "\")"), "True");
    EXPECT_EQ(r.eval("fso.FileExists(\"\u00c9vasion.txt\")"), "False");
    EXPECT_EQ(r.exec("Set t = fso.OpenTextFile(\"\u00c9vasion.txt\", 2)"), "error 70");
    EXPECT_EQ(r.exec("fso.DeleteFile \"" + (dir / "Jeu \u00e9t\u00e9" / ".." / "secret.txt").string() + "\""),
              "error 70");
    EXPECT_EQ(read(dir / "secret.txt"), "s");
}
