// The file-system object's Drive and Drives objects: one fixed drive "C:".
#include <stdlib.h>

#include <filesystem>

#include "FunctionProbe.h"
#include "LibraryTestSupport.h"

using namespace qm::vbs::fnprobe;
namespace fs = std::filesystem;

TEST(DriveObjectsInScripts, TheOneFixedDrive)
{
    FunctionProbe p;
    ASSERT_EQ(p.exec("Set fso = CreateObject(\"Scripting.FileSystemObject\")\nSet d = fso.GetDrive(\"c:\")"), "");
    expectAll(p, {
        {"TypeName(d)", "String:Drive"},
        {"d.Path", "String:C:"},
        {"CStr(d)", "String:C:"},       // Path is the default property
        {"d.DriveLetter", "String:C"},
        {"d.DriveType", "Long:2"},
        {"d.IsReady", "Boolean:True"},
        {"d.FileSystem", "String:NTFS"},
        {"d.VolumeName", "String:"},
        {"d.ShareName", "String:"},
        {"TypeName(d.TotalSize)", "String:Double"},
        {"d.TotalSize > 0", "Boolean:True"},
        {"d.FreeSpace <= d.TotalSize", "Boolean:True"},
        {"d.AvailableSpace <= d.FreeSpace", "Boolean:True"},
        {"d.RootFolder.Path", "String:/"},
        {"fso.GetDrive(\"C\").Path", "String:C:"},
        {"fso.GetDrive(\"C:\\\").DriveLetter", "String:C"},
        {"fso.GetDrive(fso.GetDriveName(\"C:\\Games\\x.txt\")).Path", "String:C:"},
        {"TypeName(fso.GetFolder(\"C:\\\").Drive)", "String:Drive"},
        {"fso.GetFolder(\"C:\\\").Drive.DriveLetter", "String:C"},
        {"fso.GetDrive(\"D:\")", "error 68"},
        {"fso.GetDrive(\"q\")", "error 68"},
        {"fso.GetDrive(\"C:\\Windows\")", "error 5"},
        {"fso.GetDrive(\"\")", "error 5"},
        {"fso.GetDrive(Null)", "error 94"},
        {"fso.DriveExists(\"C:\")", "Boolean:True"},
        {"fso.DriveExists(\"D:\")", "Boolean:False"},
    });
    EXPECT_EQ(p.exec("d.VolumeName = \"GAME\""), "error 70");
}

TEST(DriveObjectsInScripts, DrivesCollectionHoldsOneDrive)
{
    FunctionProbe p;
    ASSERT_EQ(p.exec(R"(
Set fso = CreateObject("Scripting.FileSystemObject")
letters = ""
For Each drv In fso.Drives
    letters = letters & drv.DriveLetter & ";"
Next
)"),
              "");
    expectAll(p, {
        {"TypeName(fso.Drives)", "String:Drives"},
        {"fso.Drives.Count", "Long:1"},
        {"letters", "String:C;"},
        {"fso.Drives(\"C\").Path", "String:C:"},
        {"fso.Drives.Item(\"c:\").DriveType", "Long:2"},
        {"fso.Drives(\"D\")", "error 5"},
    });
}

namespace {

// A uniquely named, empty folder under the system temp folder; only ever
// removed while it is still empty.
class DriveTestFolder {
public:
    DriveTestFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "qm_drive_XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~DriveTestFolder()
    {
        std::error_code ec;
        if (!path_.empty() && insideTemp())
            fs::remove(path_, ec); // fails harmlessly unless empty
    }
    bool insideTemp() const
    {
        fs::path temp = fs::temp_directory_path();
        auto rel = path_.lexically_relative(temp);
        return !path_.empty() && !rel.empty() && *rel.begin() != "..";
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

TEST(DriveObjectsInScripts, ConfinedScriptsSeeTheirFolderAsTheDriveRoot)
{
    DriveTestFolder folder;
    ASSERT_TRUE(folder.insideTemp());
    qm::vbs::rttest::RecordingHost host;
    host.root = folder.path().string();
    FunctionProbe p;
    p.engine.setHost(&host);
    ASSERT_EQ(p.exec("Set fso = CreateObject(\"Scripting.FileSystemObject\")"), "");
    ASSERT_EQ(p("fso.GetAbsolutePathName(\"..\\..\")"), "error 70");
    EXPECT_EQ(p("fso.GetDrive(\"C:\").RootFolder.Path"), "String:" + folder.path().string());
    EXPECT_EQ(p("fso.Drives(\"C\").RootFolder.Path = fso.GetAbsolutePathName(\".\")"), "Boolean:True");
}
