#include "platform/FileDialog.h"

#include "support/FakeZenity.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Platform::SFileDialog;

TEST(FileDialogTest, OpenDialogPassesTitleFolderAndFiltersAndReadsEveryChosenPath)
{
    CFakeZenity zenity;
    zenity.Answer("/data/a one.png\n/data/b.jpg\n", 0);
    const SFileDialog dialog{"Open images", "/data", {{"Images", {"*.png", "*.jpg"}}, {"All", {"*"}}}};

    std::vector<std::string> chosen;
    ASSERT_TRUE(Platform::ShowOpenFileDialog(dialog, true, chosen));
    EXPECT_EQ(chosen, (std::vector<std::string>{"/data/a one.png", "/data/b.jpg"}));
    EXPECT_EQ(zenity.Arguments(),
              "--file-selection\n--title=Open images\n--filename=/data/\n--multiple\n"
              "--separator=\n\n--file-filter=Images | *.png *.jpg\n--file-filter=All | *\n");
}

TEST(FileDialogTest, SaveAndFolderDialogsTakeOnePath)
{
    CFakeZenity zenity;
    zenity.Answer("/data/saved.txt\n", 0);
    std::string chosen;
    ASSERT_TRUE(Platform::ShowSaveFileDialog(SFileDialog{"", "", {}}, chosen));
    EXPECT_EQ(chosen, "/data/saved.txt");
    EXPECT_EQ(zenity.Arguments(), "--file-selection\n--save\n--confirm-overwrite\n");

    zenity.Answer("/data/folder\n", 0);
    ASSERT_TRUE(Platform::ShowFolderDialog("Pick", "/data", false, chosen));
    EXPECT_EQ(chosen, "/data/folder");
    EXPECT_EQ(zenity.Arguments(), "--file-selection\n--title=Pick\n--filename=/data/\n--directory\n");
    ASSERT_TRUE(Platform::ShowFolderDialog("Pick", "", true, chosen));
    EXPECT_EQ(zenity.Arguments(), "--file-selection\n--title=Pick\n");
}

TEST(FileDialogTest, CancelledOrWithoutDisplayNothingIsChosen)
{
    CFakeZenity zenity;
    zenity.Answer("/data/ignored\n", 1);
    std::string chosen;
    EXPECT_FALSE(Platform::ShowSaveFileDialog(SFileDialog{}, chosen));
    std::vector<std::string> many;
    zenity.Answer("", 0);
    EXPECT_FALSE(Platform::ShowOpenFileDialog(SFileDialog{}, false, many)) << "nothing printed";
    EXPECT_TRUE(Platform::AreFileDialogsAvailable());

    zenity.ForgetArguments();
    CScopedEnvironment display("DISPLAY", "");
    CScopedEnvironment wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(Platform::AreFileDialogsAvailable());
    EXPECT_FALSE(Platform::ShowFolderDialog("", "", false, chosen));
    EXPECT_EQ(zenity.Arguments(), "") << "zenity must not run without a display";
}
