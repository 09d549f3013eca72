// Renumbering onto names the list already holds, folders among the
// pictures, and linked pictures.
#include "folder_fixture.h"

#include <unistd.h>

using fx::Names;

TEST(ListRenumber, NewNamesTheListAlreadyHoldsAndFoldersLeftAlone)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFile(dir / L"Trip0001.bmp", 1) && fx::MakeFile(dir / L"Trip0002.bmp", 2) &&
                fx::MakeFile(dir / L"new.bmp", 3) && CreateDirectoryW((dir / L"holiday.bmp").c_str(), nullptr));
    SortDir list;
    fx::ListFolder(list, dir.path());
    ASSERT_EQ(fx::ListNames(list), Names({"new.bmp", "Trip0001.bmp", "Trip0002.bmp"}));
    MyString base(L"Trip");
    EXPECT_EQ(list.RenameImageList(base, 1), 1);
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"Trip0001.bmp", "Trip0002.bmp", "Trip0003.bmp"}));
    EXPECT_EQ(GetFileAttributesW((dir / L"holiday.bmp").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY)) << "not renamed";
    EXPECT_EQ(fx::ReadText(dir / L"Trip0001.bmp") + "|" + fx::ReadText(dir / L"Trip0002.bmp") + "|" +
              fx::ReadText(dir / L"Trip0003.bmp"), "xxx|x|xx") << "each file's bytes under its new name";
}

TEST(ListBuilding, ALinkedPictureHasTheSizeAndTimeOfItsTarget)
{
    fx::Dir dir, elsewhere;
    ASSERT_TRUE(fx::MakeFile(elsewhere / L"real.jpg", 1234, fx::Hours(5)));
    const std::string target = lvtest::UnixPath((elsewhere / L"real.jpg").c_str());
    const std::string link = lvtest::UnixPath((dir / L"linked.jpg").c_str());
    ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
    SortDir list;
    fx::ListFolder(list, dir.path());
    ASSERT_EQ(fx::ListNames(list), Names({"linked.jpg"}));
    const CFileEntry* entry = (*list.GetFileList())[0];
    EXPECT_EQ(entry->dwSize, 1234u);
    EXPECT_EQ(entry->ftLastWrite.dwLowDateTime, fx::Hours(5).dwLowDateTime);
}
